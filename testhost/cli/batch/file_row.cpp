#include "file_row.h"

namespace batch {

const std::array<const char*, kFieldCount> kFieldColumns = {
    "polygons_current", "polygons_editable", "points_current",  "points_editable",
    "ngons_current",    "ngons_editable",    "objects_current", "objects_editable"};

const char* OutcomeWord(Outcome outcome) {
  switch (outcome) {
    case Outcome::kCounted: return "ok";
    case Outcome::kBadInput: return "bad input";
    case Outcome::kPluginFault: return "plug-in fault";
    case Outcome::kCrashed: return "crashed";
  }
  return "?";
}

int WorseStatus(int a, int b) {
  auto rank = [](int status) { return status == 1 ? 2 : status == 2 ? 1 : 0; };
  return rank(a) >= rank(b) ? a : b;
}

}  // namespace batch
