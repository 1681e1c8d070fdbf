// t_HostOS_Cd entry 272, ElementOperation: one entry for many small operations on a
// window, told apart by an operation code. Each code has a fixed argument pattern;
// positions a code does not use are 0 or null.
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/windows.h"
#include "window_arguments.h"
#include "window_tables.h"

namespace testhost {

namespace {

// What each code takes: an id (or 0), a text (or null), how many of a, b, c, d
// carry values (the rest are 0), and whether it writes an out-slot.
struct Pattern {
  std::int32_t code;
  const char* name;
  bool takesId;
  bool takesText;
  int valuesUsed;
  bool writesOut;
  const char* valueNames[4];
};

constexpr Pattern kPatterns[] = {
    {op::kAddLabel, "AddLabel", true, true, 4, true, {"a (layout flags)", "b (width)", "c (height)", "d (border)"}},
    {op::kSetWindowTitle, "SetWindowTitle", false, true, 0, false, {"a", "b", "c", "d"}},
    {op::kSetPluginId, "SetPluginId", true, false, 1, false, {"a (sub-id)", "b", "c", "d"}},
    {op::kMarkRangeFailure, "MarkRangeFailure", true, false, 0, false, {"a", "b", "c", "d"}},
    {op::kMenuBeginSubmenu, "MenuBeginSubmenu", false, true, 0, false, {"a", "b", "c", "d"}},
    {op::kMenuEndSubmenu, "MenuEndSubmenu", false, false, 0, false, {"a", "b", "c", "d"}},
    {op::kMenuClear, "MenuClear", false, false, 0, false, {"a", "b", "c", "d"}},
    {op::kCloseCheck, "CloseCheck", false, false, 0, false, {"a", "b", "c", "d"}},
    {op::kMenuCommit, "MenuCommit", false, false, 0, false, {"a", "b", "c", "d"}},
    {op::kMenuAddItem, "MenuAddItem", true, true, 0, false, {"a", "b", "c", "d"}},
    {op::kMenuSetItemState, "MenuSetItemState", true, false, 2, false, {"a (enabled)", "b (checked)", "c", "d"}},
    {op::kIsWindowOpen, "IsWindowOpen", false, false, 0, false, {"a", "b", "c", "d"}},
};

const Pattern* PatternOf(std::int32_t code) {
  for (const Pattern& pattern : kPatterns)
    if (pattern.code == code) return &pattern;
  return nullptr;
}

// Checks the arguments against the code's pattern; answers the text (empty when
// the code takes none).
std::string CheckPattern(Contract& contract, const Pattern& pattern, std::int32_t id, const StringSlot* text,
                         const std::int32_t (&values)[4], const void* pointer, void* const* out) {
  if (!pattern.takesId) contract.Is(id, 0, "id");
  std::string content;
  if (pattern.takesText)
    content = SlotText(contract, text, "text");
  else
    contract.Null(text, "text");
  for (int i = pattern.valuesUsed; i < 4; ++i) contract.Is(values[i], 0, pattern.valueNames[i]);
  contract.Null(pointer, "pointer");
  if (pattern.writesOut)
    contract.NotNull(out, "out-slot");
  else
    contract.Null(out, "out-slot");
  return content;
}

void AddMenuEntry(Window& window, MenuEntry entry) {
  std::vector<MenuEntry>* target = window.menuStack.empty() ? &window.pendingMenu : window.menuStack.back();
  target->push_back(std::move(entry));
}

std::intptr_t AddLabel(Window& window, std::int32_t id, const std::string& text, const std::int32_t (&values)[4],
                       void** out) {
  LayoutItem label{LayoutItem::kLabel};
  label.id = id;
  label.flags = values[0];
  label.width = values[1];
  label.height = values[2];
  label.border = values[3];
  label.text = text;
  window.layout.push_back(label);
  ElementState& state = window.elements[id];
  state.text = text;
  if (out != nullptr) *out = &state;  // the host's element, never released by the plug-in
  return 1;
}

std::intptr_t Perform(Window& window, std::int32_t code, std::int32_t id, const std::string& text,
                      const std::int32_t (&values)[4], void** out) {
  switch (code) {
    case op::kAddLabel:
      return AddLabel(window, id, text, values, out);
    case op::kSetWindowTitle:
      window.title = text;
      return 1;
    case op::kSetPluginId:
      window.pluginId = id;
      window.subId = values[0];
      window.pluginIdSet = true;
      return 1;
    case op::kMarkRangeFailure:
      window.rangeFailures.push_back(id);
      return 1;
    case op::kMenuBeginSubmenu: {
      MenuEntry submenu;
      submenu.text = text;
      AddMenuEntry(window, submenu);
      std::vector<MenuEntry>* target = window.menuStack.empty() ? &window.pendingMenu : window.menuStack.back();
      window.menuStack.push_back(&target->back().items);
      return 1;
    }
    case op::kMenuEndSubmenu:
      if (window.menuStack.empty()) return 0;
      window.menuStack.pop_back();
      return 1;
    case op::kMenuClear:
      window.pendingMenu.clear();
      window.menuStack.clear();
      return 1;
    case op::kCloseCheck:
      return window.closeCheckAnswer ? 1 : 0;
    case op::kMenuCommit:
      window.menu = window.pendingMenu;
      return 1;
    case op::kMenuAddItem: {
      MenuEntry item;
      item.id = id;
      item.text = text;
      AddMenuEntry(window, item);
      return 1;
    }
    case op::kMenuSetItemState: {
      auto* item = const_cast<MenuEntry*>(window.FindMenuItem(id));
      if (item == nullptr) return 0;
      item->enabled = values[0] != 0;
      item->checked = values[1] != 0;
      return 1;
    }
    case op::kIsWindowOpen:
      return window.open ? 1 : 0;
    default:
      return 0;
  }
}

std::intptr_t Operate(void* handle, std::int32_t code, std::int32_t id, const StringSlot* text, std::int32_t a,
                      std::int32_t b, std::int32_t c, std::int32_t d, void* pointer, void** out) {
  const Pattern* pattern = PatternOf(code);
  Contract contract("code " + std::to_string(code) + " (" + pattern->name + ")");
  Window* window = LiveWindow(contract, handle);
  const std::int32_t values[4] = {a, b, c, d};
  const std::string content = CheckPattern(contract, *pattern, id, text, values, pointer, out);
  if (code == op::kMenuSetItemState) {
    IsFlag(contract, a, pattern->valueNames[0]);
    IsFlag(contract, b, pattern->valueNames[1]);
  }
  if (window == nullptr) return 0;
  return Perform(*window, code, id, content, values, out);
}

// Every code but AddLabel answers a bool, which comes back with the upper bytes of
// the register as a host built elsewhere may leave them.
std::uint64_t ElementOperation(void* handle, std::int32_t code, std::int32_t id, const StringSlot* text,
                               std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, void* pointer,
                               void** out) {
  const Pattern* pattern = PatternOf(code);
  if (pattern == nullptr) {
    Contract().Fail("code", std::to_string(code) + " is not an element operation the host serves");
    return 0;
  }
  const std::intptr_t answer = Operate(handle, code, id, text, a, b, c, d, pointer, out);
  if (code == op::kAddLabel) return static_cast<std::uint64_t>(answer);
  return WidenBool(answer != 0);
}

}  // namespace

void InstallElementOperation(HostTables& tables) { Install<entry::ElementOperation, &ElementOperation, kMainThread>(tables); }

}  // namespace testhost
