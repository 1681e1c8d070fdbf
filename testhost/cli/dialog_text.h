#pragma once
// The dialog drawn with text: a frame with the title, the menus (check marks as
// [x] and [ ]) and the grid, greyed fields in parentheses.
#include <ostream>

#include "dialog_view.h"

namespace cli {

void PrintDialog(std::ostream& out, const DialogView& view);

}  // namespace cli
