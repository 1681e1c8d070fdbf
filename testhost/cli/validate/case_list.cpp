#include "case_list.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace validate {

namespace {

using nlohmann::json;

std::string NeedsText(const Requirements& needs) {
  if (needs.empty()) return "needs nothing";
  std::string text = "needs";
  for (Requirement requirement : needs) text += (text == "needs" ? " " : ", ") + RequirementName(requirement);
  return text;
}

std::string Padded(const std::string& text, std::size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

}  // namespace

void PrintCaseList(std::ostream& out, const std::vector<const Case*>& cases) {
  std::size_t nameWidth = 0, groupWidth = 0, needsWidth = 0;
  Requirements used;
  for (const Case* c : cases) {
    nameWidth = std::max(nameWidth, c->name.size());
    groupWidth = std::max(groupWidth, c->Group().size());
    needsWidth = std::max(needsWidth, NeedsText(c->needs).size());
    used.insert(c->needs.begin(), c->needs.end());
  }
  for (const Case* c : cases)
    out << Padded(c->name, nameWidth) << "  " << Padded(c->Group(), groupWidth) << "  "
        << Padded("from level " + std::to_string(c->level), 13) << "  " << (c->random ? "seeded" : "fixed ") << "  "
        << Padded(NeedsText(c->needs), needsWidth) << "  " << c->description << "\n";
  if (used.empty()) return;
  out << "\nrequirements:\n";
  for (Requirement requirement : used)
    out << "  " << RequirementName(requirement) << ": " << RequirementMeaning(requirement) << "\n";
}

std::string CaseListJson(const std::vector<const Case*>& cases) {
  json list = {{"cases", json::array()}, {"groups", json::array()}, {"requirements", json::array()}};
  for (const Case* c : cases) {
    json needs = json::array();
    for (Requirement requirement : c->needs) needs.push_back(RequirementName(requirement));
    list["cases"].push_back({{"name", c->name},
                             {"group", c->Group()},
                             {"level", c->level},
                             {"usesSeed", c->random},
                             {"requires", needs},
                             {"description", c->description}});
    if (std::find(list["groups"].begin(), list["groups"].end(), c->Group()) == list["groups"].end())
      list["groups"].push_back(c->Group());
  }
  for (Requirement requirement : AllRequirements())
    list["requirements"].push_back(
        {{"name", RequirementName(requirement)}, {"description", RequirementMeaning(requirement)}});
  return list.dump(2) + "\n";
}

}  // namespace validate
