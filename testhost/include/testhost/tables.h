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

// One entry of one sub-table, named by its byte offset (and, for the entries the
// host implements, by what it does).
struct EntryId {
  Table table;
  int offset;
  const char* name = nullptr;
  friend bool operator==(const EntryId& a, const EntryId& b) { return a.table == b.table && a.offset == b.offset; }
  friend auto operator<=>(const EntryId& a, const EntryId& b) {
    if (a.table != b.table) return a.table <=> b.table;
    return a.offset <=> b.offset;
  }
};
std::string Describe(const EntryId& entry);  // "t_HostOS_Fn offset 136 (PathInit)"

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
inline constexpr EntryId PathToString{Table::Fn, 48, "PathToString"};
inline constexpr EntryId PathSetString{Table::Fn, 56, "PathSetString"};
inline constexpr EntryId PathDirectory{Table::Fn, 64, "PathDirectory"};
inline constexpr EntryId PathFilePart{Table::Fn, 72, "PathFilePart"};
inline constexpr EntryId PathEquals{Table::Fn, 120, "PathEquals"};
inline constexpr EntryId PathAppend{Table::Fn, 128, "PathAppend"};
inline constexpr EntryId PathInit{Table::Fn, 136, "PathInit"};
inline constexpr EntryId PathDestroy{Table::Fn, 144, "PathDestroy"};
inline constexpr EntryId PathAssign{Table::Fn, 152, "PathAssign"};
inline constexpr EntryId PathSetText{Table::Fn, 200, "PathSetText"};
inline constexpr EntryId PathClearSuffix{Table::Fn, 208, "PathClearSuffix"};

// Scene, files and messages.
inline constexpr EntryId OpenFileWithSystem{Table::Ge, 56, "OpenFileWithSystem"};
inline constexpr EntryId ApplicationFolder{Table::Ge, 64, "ApplicationFolder"};
inline constexpr EntryId HostState{Table::Ge, 80, "HostState"};
inline constexpr EntryId ShowMessageBox{Table::Ge, 120, "ShowMessageBox"};
inline constexpr EntryId HostInteraction{Table::Ge, 184, "HostInteraction"};
inline constexpr EntryId RangeMessage{Table::Ge, 272, "RangeMessage"};
inline constexpr EntryId ActiveDocument{Table::Ge, 296, "ActiveDocument"};
inline constexpr EntryId RunModelingCommand{Table::Ge, 616, "RunModelingCommand"};
inline constexpr EntryId ActiveObject{Table::Bd, 96, "ActiveObject"};
inline constexpr EntryId TagElementCount{Table::Bo, 312, "TagElementCount"};
inline constexpr EntryId ObjectInfoFlags{Table::Bo, 336, "ObjectInfoFlags"};
inline constexpr EntryId NgonCount{Table::Bo, 1064, "NgonCount"};
inline constexpr EntryId IsInstanceOfType{Table::At, 24, "IsInstanceOfType"};
inline constexpr EntryId NextSibling{Table::At, 88, "NextSibling"};
inline constexpr EntryId ParentOf{Table::At, 104, "ParentOf"};
inline constexpr EntryId FirstChild{Table::At, 112, "FirstChild"};
inline constexpr EntryId FreeResultList{Table::At, 288, "FreeResultList"};
inline constexpr EntryId ResultListAt{Table::At, 304, "ResultListAt"};
inline constexpr EntryId FreeObject{Table::Bl, 32, "FreeObject"};

// Resources.
inline constexpr EntryId SharedEmptyString{Table::St, 0, "SharedEmptyString"};
inline constexpr EntryId ResourceOpen{Table::Lr, 0, "ResourceOpen"};
inline constexpr EntryId ResourceGetString{Table::Lr, 16, "ResourceGetString"};
inline constexpr EntryId ResourceClose{Table::Lr, 48, "ResourceClose"};

// Bitmaps and plug-in registration.
inline constexpr EntryId BitmapAlloc{Table::Bm, 0, "BitmapAlloc"};
inline constexpr EntryId BitmapFree{Table::Bm, 8, "BitmapFree"};
inline constexpr EntryId BitmapInitFromFile{Table::Bm, 56, "BitmapInitFromFile"};
inline constexpr EntryId BitmapSetData{Table::Bm, 384, "BitmapSetData"};
inline constexpr EntryId RegisterPluginRecord{Table::Ge, 344, "RegisterPluginRecord"};

// Containers and typed values.
inline constexpr EntryId ContainerInit{Table::Bc, 40, "ContainerInit"};
inline constexpr EntryId ContainerDestroy{Table::Bc, 56, "ContainerDestroy"};
inline constexpr EntryId ContainerGetId{Table::Bc, 64, "ContainerGetId"};
inline constexpr EntryId ContainerSetInt32{Table::Bc, 104, "ContainerSetInt32"};
inline constexpr EntryId ContainerSetString{Table::Bc, 112, "ContainerSetString"};
inline constexpr EntryId ContainerGetInt32{Table::Bc, 352, "ContainerGetInt32"};
inline constexpr EntryId GeValueDestroy{Table::Gd, 0, "GeValueDestroy"};
inline constexpr EntryId GeValueGetInt32{Table::Gd, 112, "GeValueGetInt32"};
inline constexpr EntryId GeValueInitEmpty{Table::Gd, 328, "GeValueInitEmpty"};

// Dialogs and user areas.
inline constexpr EntryId DialogCreate{Table::Cd, 0, "DialogCreate"};
inline constexpr EntryId DialogRelease{Table::Cd, 8, "DialogRelease"};
inline constexpr EntryId DialogUserData{Table::Cd, 16, "DialogUserData"};
inline constexpr EntryId DialogClose{Table::Cd, 24, "DialogClose"};
inline constexpr EntryId DialogEnable{Table::Cd, 32, "DialogEnable"};
inline constexpr EntryId DialogSetTimer{Table::Cd, 40, "DialogSetTimer"};
inline constexpr EntryId DialogGroupPadding{Table::Cd, 160, "DialogGroupPadding"};
inline constexpr EntryId DialogEndGroup{Table::Cd, 168, "DialogEndGroup"};
inline constexpr EntryId DialogRedrawArea{Table::Cd, 208, "DialogRedrawArea"};
inline constexpr EntryId DialogRestore{Table::Cd, 224, "DialogRestore"};
inline constexpr EntryId DialogDeliverResult{Table::Cd, 232, "DialogDeliverResult"};
inline constexpr EntryId DialogCustomGuiElementId{Table::Cd, 256, "DialogCustomGuiElementId"};
inline constexpr EntryId ElementOperation{Table::Cd, 272, "ElementOperation"};
inline constexpr EntryId DialogCustomGuiDestroyed{Table::Cd, 280, "DialogCustomGuiDestroyed"};
inline constexpr EntryId DialogCustomGuiMessage{Table::Cd, 288, "DialogCustomGuiMessage"};
inline constexpr EntryId DialogCreateUserArea{Table::Cd, 304, "DialogCreateUserArea"};
inline constexpr EntryId SendElementMessage{Table::Cd, 400, "SendElementMessage"};
inline constexpr EntryId DialogBeginGroup{Table::Cd, 464, "DialogBeginGroup"};
inline constexpr EntryId DialogOpen{Table::Cd, 488, "DialogOpen"};
inline constexpr EntryId UserAreaRelease{Table::Cu, 0, "UserAreaRelease"};
inline constexpr EntryId UserAreaUserData{Table::Cu, 8, "UserAreaUserData"};
inline constexpr EntryId UserAreaWidth{Table::Cu, 16, "UserAreaWidth"};
inline constexpr EntryId UserAreaHeight{Table::Cu, 24, "UserAreaHeight"};
inline constexpr EntryId UserAreaElementId{Table::Cu, 32, "UserAreaElementId"};
inline constexpr EntryId UserAreaSetMinSize{Table::Cu, 40, "UserAreaSetMinSize"};
inline constexpr EntryId UserAreaFillRect{Table::Cu, 56, "UserAreaFillRect"};
inline constexpr EntryId UserAreaSetPen{Table::Cu, 72, "UserAreaSetPen"};
}  // namespace entry

}  // namespace testhost
