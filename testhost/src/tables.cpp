#include "testhost/tables.h"

namespace testhost {

namespace {
constexpr std::array<const char*, kTableCount> kNames = {
    "Ge", "Sh", "Hf", "Bc", "St", "Bm", "Ms", "Ba", "Fn", "Fl", "Bf", "Cd", "Cu",
    "Pr", "Lr", "Bl", "Tg", "Bo", "Bd", "Bt", "Mt", "Tx", "Bs", "Bu", "Br", "Bv",
    "Nb", "Pl", "Fi", "Pa", "Ln", "Gv", "Gd", "At", "CA", "Ne", "FL"};
}  // namespace

const char* TableName(Table table) { return kNames.at(static_cast<std::size_t>(table)); }

std::string GlobalName(Table table) { return std::string("t_HostOS_") + TableName(table); }

std::string Describe(const EntryId& entry) {
  std::string text = GlobalName(entry.table) + " offset " + std::to_string(entry.offset);
  if (entry.name != nullptr) text += std::string(" (") + entry.name + ")";
  return text;
}

}  // namespace testhost
