// The plug-in's operating-system services on macOS. The library is built without
// the system's headers, so the few C functions it calls are declared here; the
// link stub lists exactly these.
#include "platform.h"

extern "C" {
int printf(const char* format, ...);
int vsnprintf(char* buffer, size_t size, const char* format, va_list arguments);
int getpid(void);
int sysctl(int* name, unsigned length, void* old, size_t* oldLength, void* replacement, size_t replacementLength);
void* pthread_self(void);
}

namespace platform {

namespace {
// The kernel's process-information query for one process: CTL_KERN, KERN_PROC,
// KERN_PROC_PID. The answer is a 648-byte record whose process flags (an int at
// byte 32) carry P_TRACED (0x800) while a debugger traces the process.
constexpr int kCtlKern = 1;
constexpr int kKernProc = 14;
constexpr int kKernProcPid = 1;
constexpr size_t kProcessInfoSize = 648;
constexpr size_t kProcessFlagsOffset = 32;
constexpr int kTracedFlag = 0x800;
}  // namespace

void WriteStandardOutput(const char* text) { printf("%s", text); }

// The macOS debugger reads standard output; there is no separate channel.
void WriteDebuggerOutput(const char*) {}

int FormatText(char* buffer, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}

bool DebuggerAttached() {
  int name[4] = {kCtlKern, kKernProc, kKernProcPid, getpid()};
  alignas(8) unsigned char info[kProcessInfoSize] = {};
  size_t length = sizeof(info);
  // A failing query counts as no debugger.
  if (sysctl(name, 4, info, &length, nullptr, 0) != 0 || length < kProcessFlagsOffset + sizeof(int)) return false;
  int flags = 0;
  __builtin_memcpy(&flags, info + kProcessFlagsOffset, sizeof(flags));
  return (flags & kTracedFlag) != 0;
}

uintptr_t CurrentThreadId() { return reinterpret_cast<uintptr_t>(pthread_self()); }

}  // namespace platform
