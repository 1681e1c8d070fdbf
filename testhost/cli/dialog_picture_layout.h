#pragma once
// Where the dialog picture puts each thing, in pixels of the PNG (points of the PDF).
// Worked out from the view alone, with one font and fixed spacings, so the same view
// always gives the same picture. The window stands on the left; each menu is drawn
// opened, as a drop-down panel to its right, so the check marks can be read.
#include <vector>

#include "dialog_view.h"

namespace cli {

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
};

struct MenuPanelLayout {
  Box title;               // the menu's title, highlighted as an opened menu
  Box panel;               // the drop-down holding the items
  std::vector<Box> items;  // one row per item
  std::vector<Box> checks; // the check box of each item (zero-sized when not checkable)
};

struct DialogLayout {
  int width = 0, height = 0;  // the whole picture
  Box window, titleBar, menuBar;
  std::vector<Box> menuTitles;  // the titles in the window's menu bar
  int columns = 0;
  // [row][column]: every row of the view has `columns` boxes, even a short one.
  std::vector<std::vector<Box>> cells;
  std::vector<MenuPanelLayout> menus;
};

// Only in builds that can draw pictures (see PicturesAvailable).
DialogLayout LayOutDialog(const DialogView& view);

// The box of grid cell (row, column); a zero-sized box outside the grid.
Box CellBox(const DialogLayout& layout, int row, int column);

}  // namespace cli
