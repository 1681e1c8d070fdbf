#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace testhost {

// The 37 sub-tables of the host's function-table record, in record order.
enum class Table : int {
  Ge, Sh, Hf, Bc, St, Bm, Ms, Ba, Fn, Fl, Bf, Cd, Cu, Pr, Lr, Bl, Tg, Bo, Bd,
  Bt, Mt, Tx, Bs, Bu, Br, Bv, Nb, Pl, Fi, Pa, Ln, Gv, Gd, At, CA, Ne, FL,
};
inline constexpr int kTableCount = 37;
// Entries per sub-table the host lays out (offsets 0 to 8 * (kEntriesPerTable - 1)).
inline constexpr int kEntriesPerTable = 160;

const char* TableName(Table table);  // "Ge", "Sh", ...
std::string GlobalName(Table table);  // "t_HostOS_Ge", ...

// One entry of one sub-table, named by its byte offset.
struct EntryId {
  Table table;
  int offset;
  friend bool operator==(const EntryId&, const EntryId&) = default;
  friend auto operator<=>(const EntryId&, const EntryId&) = default;
};
std::string Describe(const EntryId& entry);  // "t_HostOS_Fn offset 136"

// The record as the host lays it out.
struct HostOSRecord {
  std::int32_t version;
  std::int32_t padding;
  void* tables[kTableCount];
};
static_assert(offsetof(HostOSRecord, tables) == 8);
static_assert(offsetof(HostOSRecord, tables) + 36 * 8 == 296, "t_HostOS_FL sits at byte 296");
static_assert(sizeof(HostOSRecord) == 304);

// The entries the test host implements, by the names the plug-in gives them.
namespace entry {
inline constexpr EntryId PathToString{Table::Fn, 48};
inline constexpr EntryId PathSetString{Table::Fn, 56};
inline constexpr EntryId PathDirectory{Table::Fn, 64};
inline constexpr EntryId PathFilePart{Table::Fn, 72};
inline constexpr EntryId PathEquals{Table::Fn, 120};
inline constexpr EntryId PathAppend{Table::Fn, 128};
inline constexpr EntryId PathInit{Table::Fn, 136};
inline constexpr EntryId PathDestroy{Table::Fn, 144};
inline constexpr EntryId PathAssign{Table::Fn, 152};
inline constexpr EntryId PathSetText{Table::Fn, 200};
inline constexpr EntryId PathClearSuffix{Table::Fn, 208};
}  // namespace entry

}  // namespace testhost
