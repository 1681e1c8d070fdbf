#include "dialog_view.h"

#include "testhost/numbers.h"
#include "testhost/windows.h"

namespace cli {

namespace {
// The grid element itself is never greyed in the view: it frames the labels.
constexpr std::int32_t kGridElement = testhost::tool::kGrid;
}  // namespace

DialogView ViewOf(const testhost::Window* window) {
  DialogView view;
  if (window == nullptr || !window->open) return view;
  view.open = true;
  view.title = window->title;
  for (const testhost::MenuEntry& menu : window->menu) {
    MenuView menuView{menu.text, {}};
    for (const testhost::MenuEntry& item : menu.items)
      menuView.items.push_back(MenuItemView{item.text, menu.text == "Options", item.checked, item.enabled});
    view.menus.push_back(menuView);
  }
  const auto labels = window->Labels();
  std::vector<CellView> row;
  for (const testhost::LayoutItem* label : labels) {
    auto state = window->elements.find(label->id);
    CellView cell{label->text, false};
    if (state != window->elements.end()) {
      if (state->second.textsSet > 0) cell.text = state->second.text;
      cell.greyed = !state->second.enabled && label->id != kGridElement;
    }
    row.push_back(cell);
    if (static_cast<int>(row.size()) == view.columns) {
      view.rows.push_back(row);
      row.clear();
    }
  }
  if (!row.empty()) view.rows.push_back(row);
  return view;
}

}  // namespace cli
