// JSON output, with nlohmann-json.
#include <nlohmann/json.hpp>

#include "report.h"

namespace cli {

namespace {

// A grid row's key: its heading in lower case without the hyphen ("N-Gons": "ngons").
std::string RowKey(const std::string& heading) {
  std::string key;
  for (char c : heading)
    if (c != '-' && c != ' ') key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return key;
}

nlohmann::json Fields(const DialogView& view) {
  nlohmann::json fields = nlohmann::json::object();
  for (std::size_t row = 1; row < view.rows.size(); ++row) {
    const std::vector<CellView>& cells = view.rows[row];
    if (cells.size() < 3) continue;
    fields[RowKey(cells[0].text)] = {
        {"current", cells[1].text}, {"editable", cells[2].text}, {"greyed", cells[1].greyed || cells[2].greyed}};
  }
  return fields;
}

}  // namespace

bool JsonAvailable() { return true; }

void PrintJson(std::ostream& out, const State& state, const std::string& plugin, const std::string& scene) {
  nlohmann::json document = {
      {"plugin", plugin},
      {"scene", scene},
      {"event", state.event},
      {"object", state.object},
      {"dialog", state.view.open ? "open" : "closed"},
      {"options",
       {{"includeChildren", state.includeChildren}, {"includeNonPoly", state.includeNonPoly}, {"pause", state.pause}}},
      {"fields", Fields(state.view)},
      {"console", state.console},
      {"messageBoxes", state.messageBoxes},
      {"openedFiles", state.openedFiles}};
  if (state.line > 0) document["line"] = state.line;
  out << document.dump() << "\n";
}

}  // namespace cli
