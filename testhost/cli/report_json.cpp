// JSON output, with nlohmann-json.
#include <nlohmann/json.hpp>

#include "count_text.h"
#include "printable.h"
#include "report.h"
#include "tree.h"

namespace cli {

namespace {

// A grid row's key: its heading in lower case without the hyphen ("N-Gons": "ngons").
std::string RowKey(const std::string& heading) {
  std::string key;
  for (char c : heading)
    if (c != '-' && c != ' ') key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return key;
}

// The number a field shows, or null where its text is no number.
nlohmann::json CountJson(const std::string& text) {
  const std::optional<std::int64_t> count = CountOfText(text);
  return count ? nlohmann::json(*count) : nlohmann::json(nullptr);
}

nlohmann::json Fields(const DialogView& view) {
  nlohmann::json fields = nlohmann::json::object();
  for (std::size_t row = 1; row < view.rows.size(); ++row) {
    const std::vector<CellView>& cells = view.rows[row];
    if (cells.size() < 3) continue;
    fields[RowKey(cells[0].text)] = {{"current", cells[1].text},
                                     {"currentCount", CountJson(cells[1].text)},
                                     {"editable", cells[2].text},
                                     {"editableCount", CountJson(cells[2].text)},
                                     {"greyed", cells[1].greyed || cells[2].greyed}};
  }
  return fields;
}

// Names from files and the plug-in are taken as they come; bytes that are no
// UTF-8 become U+FFFD instead of ending the program.
std::string Dump(const nlohmann::json& document) {
  return document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
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
  out << Dump(document) << "\n";
}

void PrintTreeJson(std::ostream& out, const std::vector<TreeRow>& rows) {
  nlohmann::json tree = nlohmann::json::array();
  for (const TreeRow& row : rows) tree.push_back({{"path", row.path}, {"depth", row.depth}, {"fields", Fields(row.view)}});
  out << Dump(tree) << "\n";
}

void PrintErrorJson(std::ostream& out, const Failure& failure) {
  nlohmann::json error = {{"error", Printable(failure.message)}, {"status", failure.status}};
  if (!failure.file.empty()) error["file"] = failure.file;
  if (!failure.faults.empty()) error["faults"] = failure.faults;
  out << Dump(error) << "\n";
}

}  // namespace cli
