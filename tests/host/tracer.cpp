#include "tracer.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs in the tracer process: seize the parent, resume it after each stop, report
// each breakpoint trap as one byte.
[[noreturn]] void Trace(pid_t tracee, int ready, int reports) {
  const char attached = ptrace(PTRACE_SEIZE, tracee, nullptr, nullptr) == 0 ? 1 : 0;
  (void)!write(ready, &attached, 1);
  if (!attached) _exit(0);
  for (;;) {
    int status = 0;
    if (waitpid(tracee, &status, __WALL) < 0) _exit(0);
    if (WIFEXITED(status) || WIFSIGNALED(status)) _exit(0);
    if (!WIFSTOPPED(status)) continue;
    int signal = WSTOPSIG(status);
    if (signal == SIGTRAP) {
      (void)!write(reports, "b", 1);
      signal = 0;
    }
    ptrace(PTRACE_CONT, tracee, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
  }
}

}  // namespace

AttachedTracer::AttachedTracer() {
  int ready[2];
  int reports[2];
  if (pipe(ready) != 0 || pipe(reports) != 0) return;
  prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
  const pid_t self = getpid();
  tracer_ = fork();
  if (tracer_ == 0) {
    close(ready[0]);
    close(reports[0]);
    Trace(self, ready[1], reports[1]);
  }
  close(ready[1]);
  close(reports[1]);
  reports_ = reports[0];
  fcntl(reports_, F_SETFL, O_NONBLOCK);
  char attached = 0;
  attached_ = read(ready[0], &attached, 1) == 1 && attached == 1;
  close(ready[0]);
}

int AttachedTracer::Breaks() {
  char buffer[64];
  ssize_t n;
  while ((n = read(reports_, buffer, sizeof(buffer))) > 0) breaks_ += static_cast<int>(n);
  return breaks_;
}

AttachedTracer::~AttachedTracer() {
  if (tracer_ > 0) {
    kill(tracer_, SIGKILL);
    waitpid(tracer_, nullptr, 0);
  }
  if (reports_ >= 0) close(reports_);
}
