#pragma once
#include <stddef.h>
#include <stdint.h>

namespace core {

// Levels and modifiers of a diagnostic line.
enum DebugOutputFlags : uint32_t {
  kOutputInfo = 1,
  kOutputWarning = 2,
  kOutputCritical = 4,
  kOutputLevelMask = 7,
  kOutputNoLineEnd = 0x20000000,
  kOutputWithLocation = 0x40000000,
  kOutputCriticalLocated = kOutputCritical | kOutputWithLocation,
};

// Output mask: bits 0-2 enable the levels; 0x20000000 asks the host for its mask
// as soon as the host can answer.
inline constexpr uint32_t kInitialOutputMask = 0x20000007;
inline constexpr uint32_t kAskHostForMask = 0x20000000;
inline constexpr size_t kDebugLineStackBuffer = 2048;
inline constexpr size_t kDebugLocationBuffer = 1024;

// Whether the first line was written (the debugger state is read then), and the
// output mask; the only state diagnostics keep.
struct DebugOutputState {
  bool started;
  uint32_t mask;
};
extern DebugOutputState g_debugOutputState;

// Writes one diagnostic line: level tag, text, optional source location, line feed.
void DebugOutput(uint32_t flags, const char* text, int line, const char* file);

// Builds the line DebugOutput sends. Behaves like snprintf: writes at most
// capacity - 1 characters plus a terminating zero and answers the full length.
size_t FormatDebugLine(char* buffer, size_t capacity, uint32_t flags,
                            const char* text, int line, const char* file,
                            bool debuggerAttached);

// The last component of a path, after the last '/' or, failing that, the last '\'.
const char* LastPathComponent(const char* path);

// Current output mask (for tests and the host route).
uint32_t DebugOutputMask();

}  // namespace core
