#pragma once
// How a run that fails says so: one line on the standard error ("statlume-host: "
// and the message), and with --json also an error object on the standard output,
// after everything printed before it.
#include <string>
#include <vector>

namespace cli {

struct Failure {
  std::string message;              // one line; control characters are escaped when shown
  int status = 2;                   // the exit status it leads to
  std::string file;                 // the file it concerns, when one does
  std::vector<std::string> faults;  // the faults the host recorded, when those end the run
};

void ReportFailure(const Failure& failure, bool json);

}  // namespace cli
