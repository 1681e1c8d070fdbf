#pragma once
#include <sys/types.h>

// Attaches a tracing process to the calling process, as a debugger would, and
// resumes it after every breakpoint trap, counting them.
class AttachedTracer {
 public:
  AttachedTracer();
  ~AttachedTracer();
  AttachedTracer(const AttachedTracer&) = delete;
  AttachedTracer& operator=(const AttachedTracer&) = delete;

  bool Attached() const { return attached_; }
  // Breakpoint traps the tracer has seen so far.
  int Breaks();

 private:
  pid_t tracer_ = -1;
  int reports_ = -1;
  int breaks_ = 0;
  bool attached_ = false;
};
