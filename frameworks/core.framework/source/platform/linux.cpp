// The plug-in's operating-system services on Linux.
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "platform.h"

namespace platform {

void WriteStandardOutput(const char* text) { printf("%s", text); }

// Linux has no separate debugger output channel.
void WriteDebuggerOutput(const char*) {}

int FormatText(char* buffer, size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}

bool DebuggerAttached() {
  // /proc/self/status carries "TracerPid:\t<pid>"; any pid other than 0 is a tracer.
  const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  const ssize_t length = read(fd, buffer, sizeof(buffer) - 1);
  close(fd);
  if (length <= 0) return false;
  buffer[length] = '\0';
  const char* field = strstr(buffer, "TracerPid:");
  if (field == nullptr) return false;
  return strtol(field + 10, nullptr, 10) != 0;
}

uintptr_t CurrentThreadId() { return reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(pthread_self())); }

}  // namespace platform
