// Builds without the JSON library (the Windows test host) write no JSON.
#include "report.h"

namespace cli {

bool JsonAvailable() { return false; }

void PrintJson(std::ostream&, const State&, const std::string&, const std::string&) {}

}  // namespace cli
