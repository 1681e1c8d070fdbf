#include "dialog_text.h"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "printable.h"

namespace cli {

void PrintDialog(std::ostream& out, const DialogView& view) {
  if (!view.open) {
    out << "  (the dialog is closed)\n";
    return;
  }
  std::ostringstream body;
  for (const MenuView& menu : view.menus) {
    body << std::left << std::setw(9) << (Printable(menu.title) + ":");
    bool first = true;
    for (const MenuItemView& item : menu.items) {
      if (!first) body << "\n" << std::string(9, ' ');
      first = false;
      if (item.checkable) body << (item.checked ? "[x] " : "[ ] ");
      body << (item.enabled ? Printable(item.text) : "(" + Printable(item.text) + ")");
    }
    body << "\n";
  }
  body << "\n";
  for (const std::vector<CellView>& row : view.rows) {
    for (std::size_t column = 0; column < row.size(); ++column) {
      const std::string shown = Printable(row[column].text);
      const std::string text = row[column].greyed ? "(" + shown + ")" : shown;
      body << (column == 0 ? std::left : std::right) << std::setw(column == 0 ? 10 : 12) << text;
    }
    body << "\n";
  }
  std::vector<std::string> lines;
  std::istringstream text(body.str());
  std::size_t width = 0;
  for (std::string line; std::getline(text, line);) {
    width = std::max(width, line.size() + 1);
    lines.push_back(line);
  }
  const std::string title = " " + Printable(view.title) + " ";
  width = std::max(width, title.size() + 2);
  out << "  +--" << title << std::string(width + 1 - 2 - title.size(), '-') << "+\n";
  for (const std::string& line : lines) out << "  | " << std::left << std::setw(static_cast<int>(width)) << line << "|\n";
  out << "  +" << std::string(width + 1, '-') << "+\n";
}

}  // namespace cli
