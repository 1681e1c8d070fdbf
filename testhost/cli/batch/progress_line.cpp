#include "progress_line.h"

#include <unistd.h>

#include <cstdio>

#include "process_pool.h"

namespace batch {

namespace {

// Back to the line's start, and the line erased.
constexpr const char* kErase = "\r\x1b[K";

void Write(const std::string& text) {
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

ProgressLine::ProgressLine(std::size_t files)
    : terminal_(isatty(STDERR_FILENO) == 1), files_(files), start_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Show(std::size_t done, std::size_t running) {
  if (!terminal_ || std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
  const std::string text = "statlume-host: " + std::to_string(done) + " of " + std::to_string(files_) +
                           " files counted, " + std::to_string(running) + " running";
  if (text == shown_) return;
  SetInterruptionText(kErase);
  Write(kErase + text);
  shown_ = text;
}

void ProgressLine::Clear() {
  if (shown_.empty()) return;
  Write(kErase);
  SetInterruptionText("");
  shown_.clear();
}

}  // namespace batch
