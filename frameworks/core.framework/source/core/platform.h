#pragma once
// What the plug-in asks of the operating system and its C runtime. Each platform
// has one implementation file (source/platform/<platform>.cpp) and the build picks
// it; nothing else in the plug-in depends on the platform it runs on.
#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

// Marks the library's few exported symbols.
#if defined(_WIN32)
#define STATLUME_EXPORT __declspec(dllexport)
#else
#define STATLUME_EXPORT __attribute__((visibility("default")))
#endif

namespace platform {

// The properties the code of every platform is written against.
struct Traits {
  bool windows;  // the Windows build: no CPU feature unit, no Unix-only variables
};
#if defined(_WIN32)
inline constexpr Traits kTraits{true};
#else
inline constexpr Traits kTraits{false};
#endif

// Writes text to the process's standard output with the C library's "%s" output.
void WriteStandardOutput(const char* text);

// Hands text to an attached debugger's output window, where the platform has one.
void WriteDebuggerOutput(const char* text);

// C-library formatting into `buffer`: always terminated when `size` > 0; answers
// the length the whole text needs, or a negative value on a format error.
int FormatText(char* buffer, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Whether a debugger is attached to the process, as the operating system says.
bool DebuggerAttached();

// A number that identifies the calling thread while it runs; never 0.
uintptr_t CurrentThreadId();

}  // namespace platform
