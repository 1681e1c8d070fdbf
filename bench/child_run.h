#pragma once
// Runs a program as a child process and measures it the way a user's shell would
// see it: wall time from start to exit, and the peak resident memory the kernel
// reports for it (wait4's ru_maxrss).
#include <string>
#include <vector>

namespace bench {

struct ChildRun {
  double seconds = 0;     // wall time
  double cpuSeconds = 0;  // user and system time of all its threads
  long peakKiB = 0;
  int status = -1;  // the exit status, -1 when it did not exit normally
};

// Runs `argv` (the program first) with `environment` ("NAME=value") added to this
// process's own, its standard output into `outputFile` and its standard error into
// `errorFile` (both truncated).
ChildRun RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                  const std::string& outputFile, const std::string& errorFile = "/dev/null");

}  // namespace bench
