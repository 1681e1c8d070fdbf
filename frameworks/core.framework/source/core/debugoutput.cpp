#include "debugoutput.h"

#include <stdio.h>
#include <string.h>

#include "debugglobals.h"
#include "hostservices.h"
#include "memory.h"

namespace core {
namespace {

std::uint32_t g_outputMask = kInitialOutputMask;
bool g_outputStarted = false;

void ConsoleSink(const char* text, const char* file, int line, std::uint32_t flags) {
  if (HostConsoleBound()) {
    HostConsoleOutput(text, file, line, flags);
    return;
  }
  // Unbound host: standard output is the console. Linux has no separate debugger channel.
  printf("%s", text);
}

}  // namespace

const char* LastPathComponent(const char* path) {
  if (path == nullptr) return "";
  const char* slash = strrchr(path, '/');
  if (slash != nullptr) return slash + 1;
  const char* backslash = strrchr(path, '\\');
  return backslash != nullptr ? backslash + 1 : path;
}

std::size_t FormatDebugLine(char* buffer, std::size_t capacity, std::uint32_t flags,
                            const char* text, int line, const char* file,
                            bool debuggerAttached) {
  char location[kDebugLocationBuffer] = "";
  if ((flags & kOutputWithLocation) != 0) {
    if (debuggerAttached)
      snprintf(location, sizeof(location), "%s(%d): ", file != nullptr ? file : "", line);
    else
      snprintf(location, sizeof(location), " [%s(%d)]", LastPathComponent(file), line);
  }
  const char* tag = (flags & kOutputWarning) != 0    ? "WARNING: "
                    : (flags & kOutputCritical) != 0 ? "CRITICAL: "
                                                     : "";
  const char* lineEnd = (flags & kOutputNoLineEnd) != 0 ? "" : "\n";
  const int written =
      snprintf(buffer, capacity, "%s%s%s%s%s", debuggerAttached ? location : "", tag,
               text != nullptr ? text : "", debuggerAttached ? "" : location, lineEnd);
  return written < 0 ? 0 : static_cast<std::size_t>(written);
}

std::uint32_t DebugOutputMask() { return g_outputMask; }

void DebugOutput(std::uint32_t flags, const char* text, int line, const char* file) {
  if (!g_outputStarted) {
    g_outputStarted = true;
    g_debuggerAttached = QueryDebuggerAttached();
    g_outputMask = kInitialOutputMask;
  }
  if ((g_outputMask & kAskHostForMask) != 0 && HostSystemBound())
    g_outputMask = HostConsoleOutputType();
  if ((g_outputMask & flags & kOutputLevelMask) == 0) return;

  const bool debugger = g_debuggerAttached;
  char stackLine[kDebugLineStackBuffer];
  const std::size_t length =
      FormatDebugLine(stackLine, sizeof(stackLine), flags, text, line, file, debugger);
  if (length < sizeof(stackLine)) {
    ConsoleSink(stackLine, file, line, flags);
    return;
  }
  // Longer lines move to the heap.
  static constexpr SourceLocation kHeapLine{__FILE__, __LINE__, 0};
  char* heapLine =
      HostSystemBound() ? static_cast<char*>(FrameworkAlloc(length + 1, kHeapLine)) : nullptr;
  if (heapLine != nullptr) {
    FormatDebugLine(heapLine, length + 1, flags, text, line, file, debugger);
    ConsoleSink(heapLine, file, line, flags);
    FrameworkFree(heapLine);
    return;
  }
  // No host memory: send what fits, still ending the line where one was asked for.
  if ((flags & kOutputNoLineEnd) == 0) stackLine[sizeof(stackLine) - 2] = '\n';
  ConsoleSink(stackLine, file, line, flags);
}

}  // namespace core
