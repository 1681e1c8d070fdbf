// Builds without the JSON library (the Windows test host) write no JSON.
#include "report.h"
#include "tree.h"

namespace cli {

bool JsonAvailable() { return false; }

void PrintJson(std::ostream&, const State&, const std::string&, const std::string&) {}

void PrintTreeJson(std::ostream&, const std::vector<TreeRow>&) {}

void PrintErrorJson(std::ostream&, const Failure&) {}

}  // namespace cli
