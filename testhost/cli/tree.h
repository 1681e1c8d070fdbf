#pragma once
// The hierarchy with counts: every object of the scene, made active in turn as a
// user selects it, with the eight fields the plug-in's dialog then shows. The
// program counts nothing itself; the dialog's options stay as they are.
#include <ostream>
#include <string>
#include <vector>

#include "dialog_view.h"

namespace cli {

class Session;

struct TreeRow {
  std::string path;  // as --object takes it
  int depth = 0;     // 0 at the top level
  DialogView view;   // the dialog's grid with this object active
};

// Selects every object of the session's scene in the order of the hierarchy and
// reads the dialog after each selection.
std::vector<TreeRow> CountEveryObject(Session& session);

// A table of the eight fields per object, the paths indented as the hierarchy.
void PrintTree(std::ostream& out, const std::vector<TreeRow>& rows);
// One JSON array on one line: per object its path, depth and fields.
void PrintTreeJson(std::ostream& out, const std::vector<TreeRow>& rows);

}  // namespace cli
