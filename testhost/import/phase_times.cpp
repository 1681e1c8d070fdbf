#include "phase_times.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>

namespace testhost::input {

namespace {

using Clock = std::chrono::steady_clock;

struct Report {
  std::mutex mutex;
  std::FILE* file = nullptr;
  Clock::time_point zero = Clock::now();
};

// Opened at the first use, and flushed line by line: the program may end by a
// signal or _exit, and what was measured by then still counts.
Report* TheReport() {
  static Report* report = [] {
    const char* name = std::getenv("STATLUME_HOST_TIMING");
    if (name == nullptr || *name == '\0') return static_cast<Report*>(nullptr);
    auto* opened = new Report;  // lives as long as the process
    opened->file = std::fopen(name, "w");
    return opened->file != nullptr ? opened : nullptr;
  }();
  return report;
}

long PeakKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

double Milliseconds(Clock::time_point since, Clock::time_point at) {
  return std::chrono::duration<double, std::milli>(at - since).count();
}

}  // namespace

void StartPhaseClock() { TheReport(); }

namespace {
// The clock starts as the program does, before its main runs.
const bool g_clockStarted = (StartPhaseClock(), true);
}  // namespace

Phase::Phase(const char* name) : name_(name), on_(TheReport() != nullptr) {
  if (on_) start_ = Clock::now();
}

void Phase::End() {
  if (!on_) return;
  on_ = false;
  const Clock::time_point end = Clock::now();
  Report& report = *TheReport();
  const long peak = PeakKiB();
  const std::lock_guard<std::mutex> lock(report.mutex);
  std::fprintf(report.file, "%s\t%.3f\t%.3f\t%ld\n", name_, Milliseconds(report.zero, start_),
               Milliseconds(report.zero, end), peak);
  std::fflush(report.file);
}

}  // namespace testhost::input
