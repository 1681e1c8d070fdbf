#pragma once
// The progress of a run over several files on the standard error, when that is a
// terminal and the run has taken more than a second: one line, rewritten in place,
// cleared before the rows printed and at the end.
#include <chrono>
#include <cstddef>
#include <string>

namespace batch {

class ProgressLine {
 public:
  explicit ProgressLine(std::size_t files);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Draws the line when it is due: after the first second, whenever the numbers change.
  void Show(std::size_t done, std::size_t running);
  // Takes the line away, before other output goes to the terminal.
  void Clear();

 private:
  bool terminal_;
  std::size_t files_;
  std::chrono::steady_clock::time_point start_;
  std::string shown_;  // the text on the terminal now; empty when none
};

}  // namespace batch
