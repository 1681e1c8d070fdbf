// The hierarchy with counts as a table: the eight fields in columns of one width,
// then the path, indented two spaces per level, so that the columns line up
// whatever the names.
#include <algorithm>
#include <iomanip>

#include "printable.h"
#include "tree.h"

namespace cli {

namespace {

// The grid's headings as the dialog shows them: the row labels and the two
// column headings, from the first open dialog.
struct Headings {
  std::vector<std::string> rows, columns;
};

Headings HeadingsOf(const std::vector<TreeRow>& rows) {
  Headings headings{{"Polygons", "Points", "N-Gons", "Objects"}, {"Current", "Editable"}};
  for (const TreeRow& row : rows) {
    if (row.view.rows.size() < 2 || row.view.rows[0].size() < 3) continue;
    headings.rows.clear();
    for (std::size_t i = 1; i < row.view.rows.size(); ++i) headings.rows.push_back(row.view.rows[i][0].text);
    headings.columns = {row.view.rows[0][1].text, row.view.rows[0][2].text};
    break;
  }
  return headings;
}

// The text of a field, in parentheses where it is greyed; empty where the dialog
// has no such field (a closed dialog).
std::string Field(const DialogView& view, std::size_t row, std::size_t column) {
  if (row >= view.rows.size() || column >= view.rows[row].size()) return "";
  const CellView& cell = view.rows[row][column];
  return cell.greyed ? "(" + Printable(cell.text) + ")" : Printable(cell.text);
}

}  // namespace

void PrintTree(std::ostream& out, const std::vector<TreeRow>& rows) {
  const Headings headings = HeadingsOf(rows);
  std::size_t width = 0;
  for (const std::string& heading : headings.columns) width = std::max(width, Printable(heading).size());
  for (const TreeRow& row : rows)
    for (std::size_t grid = 1; grid <= headings.rows.size(); ++grid)
      for (std::size_t column = 1; column <= 2; ++column) width = std::max(width, Field(row.view, grid, column).size());
  const int w = static_cast<int>(width);
  const std::string gap = "  ";

  out << gap;
  for (std::size_t i = 0; i < headings.rows.size(); ++i) {
    const std::string heading = Printable(headings.rows[i]);
    if (i + 1 == headings.rows.size()) out << heading;
    else out << std::left << std::setw(2 * w + 1) << heading << gap;
  }
  out << "\n" << gap;
  for (std::size_t i = 0; i < headings.rows.size(); ++i)
    out << std::right << std::setw(w) << Printable(headings.columns[0]) << " " << std::setw(w)
        << Printable(headings.columns[1]) << gap;
  out << "Path\n";
  for (const TreeRow& row : rows) {
    out << gap;
    for (std::size_t grid = 1; grid <= headings.rows.size(); ++grid)
      out << std::right << std::setw(w) << Field(row.view, grid, 1) << " " << std::setw(w) << Field(row.view, grid, 2)
          << gap;
    out << std::string(2 * static_cast<std::size_t>(row.depth), ' ') << Printable(row.path) << "\n";
  }
}

}  // namespace cli
