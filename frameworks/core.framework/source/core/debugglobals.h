#pragma once
#include <stdint.h>

namespace core {

// Whether a debugger is attached (on Linux: whether the process is being traced).
// Set by a static initialiser and read again on the first debug output.
extern bool g_debuggerAttached;

// Queries the operating system for the traced state of the own process.
bool QueryDebuggerAttached();

// Breaks into the debugger after a written message, but only when one is attached
// and breaking is enabled by the configuration variable.
void DebugBreakIfEnabled();

// A structural programming error: traps whether or not a debugger is attached.
[[noreturn]] void BreakpointTrap();

}  // namespace core

// Configuration variable "enable debug breaks (when debugger is attached)", default 1.
extern uint8_t g_enableDebugBreak;
