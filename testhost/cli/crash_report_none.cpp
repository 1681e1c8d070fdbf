// Platforms without POSIX signals: a crash ends the process as the system ends it.
#include <cstdio>
#include <iostream>

#include "crash_report.h"

namespace cli {

void GuardAgainstCrashes(const std::string&, const std::string&, bool) {}

Doing::Doing(Activity) : previous_(Activity::kNone) {
  std::cout.flush();
  std::fflush(stdout);
}

Doing::~Doing() = default;

}  // namespace cli
