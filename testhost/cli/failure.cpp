#include "failure.h"

#include <cstdio>
#include <iostream>

#include "printable.h"
#include "report.h"

namespace cli {

void ReportFailure(const Failure& failure, bool json) {
  if (json) {
    PrintErrorJson(std::cout, failure);
    std::cout.flush();
  }
  // The faults follow the line that announces them, one a line.
  std::cerr << "statlume-host: " << Printable(failure.message) << (failure.faults.empty() ? "\n" : ":\n");
  for (const std::string& fault : failure.faults) std::cerr << "  " << Printable(fault) << "\n";
}

}  // namespace cli
