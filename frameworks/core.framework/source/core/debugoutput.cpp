#include "debugoutput.h"

#include "debugglobals.h"
#include "hostservices.h"
#include "memory.h"
#include "platform.h"

namespace core {

DebugOutputState g_debugOutputState = {false, kInitialOutputMask};

namespace {


// The threads now writing a diagnostic, by identity; a free slot holds 0. A thread
// found here is writing one from inside another (a host call on the way out
// reported in turn): that line goes to standard output, which never comes back
// here. Plain atomics: no thread-local storage, no runtime support.
constexpr int kWriterSlots = 64;
uintptr_t g_writers[kWriterSlots];

class WriterScope {
 public:
  WriterScope() {
    const uintptr_t self = platform::CurrentThreadId();
    for (const uintptr_t& writer : g_writers)
      if (__atomic_load_n(&writer, __ATOMIC_ACQUIRE) == self) return;  // nested
    for (int i = 0; i < kWriterSlots; ++i) {
      uintptr_t expected = 0;
      if (__atomic_compare_exchange_n(&g_writers[i], &expected, self, false, __ATOMIC_ACQ_REL,
                                      __ATOMIC_ACQUIRE)) {
        slot_ = i;
        return;
      }
    }
    // More writers at once than slots: this one takes the route that cannot recurse.
  }
  ~WriterScope() {
    if (slot_ >= 0) __atomic_store_n(&g_writers[slot_], uintptr_t{0}, __ATOMIC_RELEASE);
  }
  WriterScope(const WriterScope&) = delete;
  WriterScope& operator=(const WriterScope&) = delete;
  // Whether the host may be called: this thread is not writing a diagnostic already.
  bool Outermost() const { return slot_ >= 0; }

 private:
  int slot_ = -1;
};

void ConsoleSink(const char* text, const char* file, int line, uint32_t flags, bool toHost) {
  if (toHost && HostConsoleBound()) {
    HostConsoleOutput(text, file, line, flags);
    return;
  }
  // Unbound host, or a diagnostic inside a diagnostic: standard output is the
  // console, and the debugger hears it where the platform has a channel for it.
  platform::WriteStandardOutput(text);
  platform::WriteDebuggerOutput(text);
}

}  // namespace

const char* LastPathComponent(const char* path) {
  if (path == nullptr) return "";
  const char* slash = __builtin_strrchr(path, '/');
  if (slash != nullptr) return slash + 1;
  const char* backslash = __builtin_strrchr(path, '\\');
  return backslash != nullptr ? backslash + 1 : path;
}

size_t FormatDebugLine(char* buffer, size_t capacity, uint32_t flags,
                            const char* text, int line, const char* file,
                            bool debuggerAttached) {
  char location[kDebugLocationBuffer] = "";
  if ((flags & kOutputWithLocation) != 0) {
    if (debuggerAttached)
      platform::FormatText(location, sizeof(location), "%s(%d): ", file != nullptr ? file : "", line);
    else
      platform::FormatText(location, sizeof(location), " [%s(%d)]", LastPathComponent(file), line);
  }
  const char* tag = (flags & kOutputWarning) != 0    ? "WARNING: "
                    : (flags & kOutputCritical) != 0 ? "CRITICAL: "
                                                     : "";
  const char* lineEnd = (flags & kOutputNoLineEnd) != 0 ? "" : "\n";
  const int written =
      platform::FormatText(buffer, capacity, "%s%s%s%s%s", debuggerAttached ? location : "", tag,
               text != nullptr ? text : "", debuggerAttached ? "" : location, lineEnd);
  return written < 0 ? 0 : static_cast<size_t>(written);
}

uint32_t DebugOutputMask() { return g_debugOutputState.mask; }

void DebugOutput(uint32_t flags, const char* text, int line, const char* file) {
  if (!g_debugOutputState.started) {
    g_debugOutputState.started = true;
    g_debuggerAttached = QueryDebuggerAttached();
    g_debugOutputState.mask = kInitialOutputMask;
  }
  const WriterScope writer;
  const bool toHost = writer.Outermost();
  if (toHost && (g_debugOutputState.mask & kAskHostForMask) != 0 && HostSystemBound() && HostConsoleOutputTypeBound())
    g_debugOutputState.mask = HostConsoleOutputType();
  if ((g_debugOutputState.mask & flags & kOutputLevelMask) == 0) return;

  const bool debugger = g_debuggerAttached;
  char stackLine[kDebugLineStackBuffer];
  const size_t length =
      FormatDebugLine(stackLine, sizeof(stackLine), flags, text, line, file, debugger);
  if (length < sizeof(stackLine)) {
    ConsoleSink(stackLine, file, line, flags, toHost);
    return;
  }
  // Longer lines move to the heap.
  static constexpr SourceLocation kHeapLine{__FILE__, __LINE__, 0};
  char* heapLine = toHost && HostSystemBound()
                       ? static_cast<char*>(FrameworkAlloc(length + 1, kHeapLine))
                       : nullptr;
  if (heapLine != nullptr) {
    FormatDebugLine(heapLine, length + 1, flags, text, line, file, debugger);
    ConsoleSink(heapLine, file, line, flags, toHost);
    FrameworkFree(heapLine);
    return;
  }
  // No host memory: send what fits, still ending the line where one was asked for.
  if ((flags & kOutputNoLineEnd) == 0) stackLine[sizeof(stackLine) - 2] = '\n';
  ConsoleSink(stackLine, file, line, flags, toHost);
}

}  // namespace core
