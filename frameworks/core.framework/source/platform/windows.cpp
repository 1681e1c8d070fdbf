// The plug-in's operating-system services on Windows. No C headers exist for this
// target, so the C runtime (msvcrt.dll) and kernel32 functions it calls are
// declared here by hand.
#include "platform.h"

extern "C" {
__declspec(dllimport) int printf(const char* format, ...);
__declspec(dllimport) int _vsnprintf(char* buffer, size_t size, const char* format, va_list arguments);
__declspec(dllimport) int _vscprintf(const char* format, va_list arguments);
__declspec(dllimport) int __stdcall IsDebuggerPresent(void);
__declspec(dllimport) void __stdcall OutputDebugStringA(const char* text);
__declspec(dllimport) unsigned long __stdcall GetCurrentThreadId(void);
}

namespace platform {

void WriteStandardOutput(const char* text) { printf("%s", text); }

void WriteDebuggerOutput(const char* text) { OutputDebugStringA(text); }

int FormatText(char* buffer, size_t size, const char* format, ...) {
  // _vsnprintf neither terminates a cut text nor tells the full length: count
  // first, then write, then terminate.
  va_list arguments;
  va_start(arguments, format);
  va_list counting;
  va_copy(counting, arguments);
  const int length = _vscprintf(format, counting);
  va_end(counting);
  if (size > 0) {
    _vsnprintf(buffer, size, format, arguments);
    buffer[length >= 0 && static_cast<size_t>(length) < size ? length : size - 1] = '\0';
  }
  va_end(arguments);
  return length;
}

bool DebuggerAttached() { return IsDebuggerPresent() != 0; }

uintptr_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace platform
