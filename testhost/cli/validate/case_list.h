#pragma once
// statlume-host validate --list: every case with its group, the level from which it
// runs, whether it draws on the seed, what it needs and what it checks; for people
// (one case a line) or as one JSON document.
#include <ostream>
#include <string>
#include <vector>

#include "cases.h"

namespace validate {

void PrintCaseList(std::ostream& out, const std::vector<const Case*>& cases);

// {"cases": [...], "groups": [...], "requirements": [...]}, indented.
std::string CaseListJson(const std::vector<const Case*>& cases);

}  // namespace validate
