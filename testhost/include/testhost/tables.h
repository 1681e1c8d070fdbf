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

// Scene, files and messages.
inline constexpr EntryId OpenFileWithSystem{Table::Ge, 56};
inline constexpr EntryId ApplicationFolder{Table::Ge, 64};
inline constexpr EntryId HostState{Table::Ge, 80};
inline constexpr EntryId ShowMessageBox{Table::Ge, 120};
inline constexpr EntryId HostInteraction{Table::Ge, 184};
inline constexpr EntryId RangeMessage{Table::Ge, 272};
inline constexpr EntryId ActiveDocument{Table::Ge, 296};
inline constexpr EntryId RunModelingCommand{Table::Ge, 616};
inline constexpr EntryId ActiveObject{Table::Bd, 96};
inline constexpr EntryId TagElementCount{Table::Bo, 312};
inline constexpr EntryId ObjectInfoFlags{Table::Bo, 336};
inline constexpr EntryId NgonCount{Table::Bo, 1064};
inline constexpr EntryId IsInstanceOfType{Table::At, 24};
inline constexpr EntryId NextSibling{Table::At, 88};
inline constexpr EntryId ParentOf{Table::At, 104};
inline constexpr EntryId FirstChild{Table::At, 112};
inline constexpr EntryId FreeResultList{Table::At, 288};
inline constexpr EntryId ResultListAt{Table::At, 304};
inline constexpr EntryId FreeObject{Table::Bl, 32};

// Resources.
inline constexpr EntryId SharedEmptyString{Table::St, 0};
inline constexpr EntryId ResourceOpen{Table::Lr, 0};
inline constexpr EntryId ResourceGetString{Table::Lr, 16};
inline constexpr EntryId ResourceClose{Table::Lr, 48};

// Bitmaps and plug-in registration.
inline constexpr EntryId BitmapAlloc{Table::Bm, 0};
inline constexpr EntryId BitmapFree{Table::Bm, 8};
inline constexpr EntryId BitmapInitFromFile{Table::Bm, 56};
inline constexpr EntryId BitmapSetData{Table::Bm, 384};
inline constexpr EntryId RegisterPluginRecord{Table::Ge, 344};

// Containers and typed values.
inline constexpr EntryId ContainerInit{Table::Bc, 40};
inline constexpr EntryId ContainerDestroy{Table::Bc, 56};
inline constexpr EntryId ContainerGetId{Table::Bc, 64};
inline constexpr EntryId ContainerSetInt32{Table::Bc, 104};
inline constexpr EntryId ContainerSetString{Table::Bc, 112};
inline constexpr EntryId ContainerGetInt32{Table::Bc, 352};
inline constexpr EntryId GeValueDestroy{Table::Gd, 0};
inline constexpr EntryId GeValueGetInt32{Table::Gd, 112};
inline constexpr EntryId GeValueInitEmpty{Table::Gd, 328};

// Dialogs and user areas.
inline constexpr EntryId DialogCreate{Table::Cd, 0};
inline constexpr EntryId DialogRelease{Table::Cd, 8};
inline constexpr EntryId DialogUserData{Table::Cd, 16};
inline constexpr EntryId DialogClose{Table::Cd, 24};
inline constexpr EntryId DialogEnable{Table::Cd, 32};
inline constexpr EntryId DialogSetTimer{Table::Cd, 40};
inline constexpr EntryId DialogGroupPadding{Table::Cd, 160};
inline constexpr EntryId DialogEndGroup{Table::Cd, 168};
inline constexpr EntryId DialogRedrawArea{Table::Cd, 208};
inline constexpr EntryId DialogRestore{Table::Cd, 224};
inline constexpr EntryId DialogDeliverResult{Table::Cd, 232};
inline constexpr EntryId DialogCustomGuiElementId{Table::Cd, 256};
inline constexpr EntryId ElementOperation{Table::Cd, 272};
inline constexpr EntryId DialogCustomGuiDestroyed{Table::Cd, 280};
inline constexpr EntryId DialogCustomGuiMessage{Table::Cd, 288};
inline constexpr EntryId DialogCreateUserArea{Table::Cd, 304};
inline constexpr EntryId SendElementMessage{Table::Cd, 400};
inline constexpr EntryId DialogBeginGroup{Table::Cd, 464};
inline constexpr EntryId DialogOpen{Table::Cd, 488};
inline constexpr EntryId UserAreaRelease{Table::Cu, 0};
inline constexpr EntryId UserAreaUserData{Table::Cu, 8};
inline constexpr EntryId UserAreaWidth{Table::Cu, 16};
inline constexpr EntryId UserAreaHeight{Table::Cu, 24};
inline constexpr EntryId UserAreaElementId{Table::Cu, 32};
inline constexpr EntryId UserAreaSetMinSize{Table::Cu, 40};
inline constexpr EntryId UserAreaFillRect{Table::Cu, 56};
inline constexpr EntryId UserAreaSetPen{Table::Cu, 72};
}  // namespace entry

}  // namespace testhost
