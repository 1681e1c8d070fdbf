#pragma once
// Where a run's time goes, for the import benchmark: with STATLUME_HOST_TIMING
// naming a file, each phase the program marks (reading the file, merging its
// positions, building the scene, loading and running the plug-in, ...) is written
// there as one line, "PHASE START END PEAK": start and end in milliseconds since
// the program started, and the peak resident memory so far in KiB (0 where the
// system does not tell). Without the variable nothing is measured.
#include <chrono>
#include <string>

namespace testhost::input {

// Measures one phase from its construction to its end.
class Phase {
 public:
  explicit Phase(const char* name);
  ~Phase() { End(); }
  Phase(const Phase&) = delete;
  Phase& operator=(const Phase&) = delete;
  void End();  // ends it early

 private:
  const char* name_;
  bool on_;
  std::chrono::steady_clock::time_point start_;
};

// Starts the clock phases are measured from; the program's start-up starts it.
void StartPhaseClock();

}  // namespace testhost::input
