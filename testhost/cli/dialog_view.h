#pragma once
// The dialog as the user sees it, read from the test host's window: title, menus
// with their check marks, and the grid of labels (greyed ones marked). The text,
// JSON and picture outputs all draw from this one view.
#include <string>
#include <vector>

namespace testhost {
struct Window;
}

namespace cli {

struct MenuItemView {
  std::string text;
  bool checkable = false;  // items of the Options menu carry a check mark
  bool checked = false;
  bool enabled = true;
};

struct MenuView {
  std::string title;
  std::vector<MenuItemView> items;
};

struct CellView {
  std::string text;
  bool greyed = false;
};

struct DialogView {
  bool open = false;
  std::string title;
  std::vector<MenuView> menus;
  // Rows of the grid, each of `columns` cells; the first row holds the headings
  // ("", "Current", "Editable"), then Polygons, Points, N-Gons and Objects.
  int columns = 3;
  std::vector<std::vector<CellView>> rows;
};

// The view of a window; a closed or missing window gives a view with open false.
DialogView ViewOf(const testhost::Window* window);

}  // namespace cli
