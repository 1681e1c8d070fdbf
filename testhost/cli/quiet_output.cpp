#include "quiet_output.h"

#include <fcntl.h>

#include <cstdio>
#include <iostream>

#if defined(_WIN32)
#include <io.h>
constexpr const char* kNowhere = "NUL";
#else
#include <unistd.h>
constexpr const char* kNowhere = "/dev/null";
#endif

namespace cli {

namespace {

void FlushAll() {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(stdout);
  std::fflush(stderr);
}

}  // namespace

QuietOutput::QuietOutput() {
  FlushAll();
  const int nowhere = open(kNowhere, O_WRONLY);
  if (nowhere < 0) return;
  savedOut_ = dup(1);
  savedErr_ = dup(2);
  dup2(nowhere, 1);
  dup2(nowhere, 2);
  close(nowhere);
}

QuietOutput::~QuietOutput() {
  FlushAll();  // what the library left in the buffers goes nowhere too
  if (savedOut_ >= 0) {
    dup2(savedOut_, 1);
    close(savedOut_);
  }
  if (savedErr_ >= 0) {
    dup2(savedErr_, 2);
    close(savedErr_);
  }
}

}  // namespace cli
