// t_HostOS_Cd: window objects, opening and closing windows, groups, element states
// and messages, results, user areas and custom GUIs. (ElementOperation, entry 272,
// is in cd_element_operation.cpp.)
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/ownership.h"
#include "testhost/windows.h"
#include "window_arguments.h"
#include "window_tables.h"

namespace testhost {

namespace {

bool IsDialogType(std::int32_t type) {
  for (std::int32_t known : {dlg::kModal, dlg::kModalResizeable, dlg::kModalPopupEdit, dlg::kAsync,
                             dlg::kAsyncPopupResizeable, dlg::kAsyncPopupEdit, dlg::kAsyncToolbar,
                             dlg::kFullscreenWork, dlg::kFullscreenMonitor, dlg::kDummy})
    if (type == known) return true;
  return false;
}

bool IsModal(std::int32_t type) { return type >= dlg::kModal && type <= dlg::kModalPopupEdit; }

bool NotNegative(Contract& contract, std::int64_t value, const char* argument) {
  return contract.Check(value >= 0, argument, "must not be negative, was " + std::to_string(value));
}

// ---- window objects ----

void* DialogCreate(DispatchFunction dispatch, void* userData) {
  Contract contract;
  contract.NotNull(reinterpret_cast<const void*>(dispatch), "dispatch");
  contract.NotNull(userData, "user data");
  return HostWindows().Create(dispatch, userData);
}

void DialogRelease(void* handle) {
  Contract contract;
  if (handle != nullptr && HostWindows().WasReleased(handle)) {
    CurrentObjects().GiveBack(handle, Describe(entry::DialogRelease));  // names the earlier release
    return;
  }
  Window* window = LiveWindow(contract, handle);
  if (window != nullptr && CurrentObjects().GiveBack(window, Describe(entry::DialogRelease)))
    HostWindows().Release(*window);
}

void* DialogUserData(void* handle) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  return window != nullptr ? window->userData : nullptr;
}

// ---- opening and closing ----

bool DialogOpen(void* handle, std::int32_t type, void* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, std::int32_t flags) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  contract.Check(IsDialogType(type), "type", "must be a DLG_TYPE value, was " + std::to_string(type));
  contract.Null(parent, "parent");
  NotNegative(contract, width, "width");
  NotNegative(contract, height, "height");
  contract.Check((flags & ~kOpenDialogFlagsMask) == 0, "flags",
                 "must be a set of OPENDIALOGFLAGS, was " + std::to_string(flags));
  if (window == nullptr) return false;
  if (Served(entry::ElementOperation))
    contract.Check(window->pluginIdSet, "window", "must have its plug-in id set (element operation 24) before it opens");
  if (window->open) return true;  // the host brings it to the front
  HostWindows().Open(*window, type, x, y, width, height, flags);
  if (IsModal(type)) {
    // A modal window: the call returns only when it has closed.
    if (window->modalLoop) window->modalLoop(*window);
    if (window->open) HostWindows().Close(*window);
  }
  return true;
}

bool DialogRestore(void* handle, void* token) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  contract.Check(HostWindows().IsLayoutToken(token), "token", "must be the layout token the host handed over");
  if (window == nullptr) return false;
  if (Served(entry::ElementOperation))
    contract.Check(window->pluginIdSet, "window",
                   "must have its plug-in id set (element operation 24) before it is restored");
  HostWindows().Restore(*window, token);
  return true;
}

bool DialogClose(void* handle) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  return window != nullptr && HostWindows().Close(*window);
}

void DialogSetTimer(void* handle, std::int32_t interval) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  NotNegative(contract, interval, "interval");
  if (window != nullptr) window->timer = interval;
}

// ---- groups ----

bool DialogBeginGroup(void* handle, std::int32_t id, std::int32_t flags, std::int32_t columns, std::int32_t rows,
                      const StringSlot* title, std::int32_t groupFlags, std::int32_t width, std::int32_t height) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  const std::string text = SlotText(contract, title, "title");
  NotNegative(contract, columns, "columns");
  NotNegative(contract, rows, "rows");
  if (window == nullptr) return false;
  LayoutItem group{LayoutItem::kGroup};
  group.id = id;
  group.flags = flags;
  group.columns = columns;
  group.rows = rows;
  group.text = text;
  group.groupFlags = groupFlags;
  group.width = width;
  group.height = height;
  window->layout.push_back(group);
  ++window->openGroups;
  return true;
}

bool DialogGroupPadding(void* handle, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  NotNegative(contract, left, "left");
  NotNegative(contract, top, "top");
  NotNegative(contract, right, "right");
  NotNegative(contract, bottom, "bottom");
  if (window == nullptr) return false;
  if (Served(entry::DialogBeginGroup))
    contract.Check(window->openGroups > 0, "window", "must have a group begun to pad");
  LayoutItem item{LayoutItem::kPadding};
  item.padding[0] = left;
  item.padding[1] = top;
  item.padding[2] = right;
  item.padding[3] = bottom;
  window->layout.push_back(item);
  return true;
}

bool DialogEndGroup(void* handle) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  if (window == nullptr) return false;
  if (Served(entry::DialogBeginGroup) &&
      !contract.Check(window->openGroups > 0, "window", "must have a group begun to end"))
    return false;
  if (window->openGroups > 0) --window->openGroups;
  window->layout.push_back(LayoutItem{LayoutItem::kGroupEnd});
  return true;
}

// ---- elements ----

bool DialogEnable(void* handle, std::int32_t id, std::uint8_t enabled, void* customGui) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  IsFlag(contract, enabled, "enabled");
  if (window == nullptr) return false;
  ElementPointer(contract, *window, id, customGui);
  auto element = window->elements.find(id);
  if (element == window->elements.end()) return false;
  element->second.enabled = enabled != 0;
  return true;
}

// The host answers an element message with a typed value it fills; the plug-in
// releases it before its call returns.
TypedValue* SendElementMessage(TypedValue* out, void* handle, std::int32_t id, const ContainerStorage* message,
                               void* customGui) {
  Contract contract;
  contract.NotNull(out, "value");
  Window* window = LiveWindow(contract, handle);
  ContainerValue* container = LiveContainer(contract, message, "message");
  if (window != nullptr) ElementPointer(contract, *window, id, customGui);
  if (out == nullptr) return nullptr;
  if (HostWindows().StateOf(out) == Windows::ValueState::kFilled && HostWindows().Offered(entry::GeValueDestroy))
    contract.Fail("value", "still holds " + CurrentObjects().Name(out) + "; filling it again loses it");

  bool accepted = false;
  if (window != nullptr && container != nullptr) {
    if (container->id == code::bTIC) {
      contract.Check(container->strings.count(code::bTIC) != 0, "message", "must carry the text under 'bTIC'");
      contract.Check(container->ints.count(code::tris) != 0, "message", "must carry the tristate under 'tris'");
      contract.Check(container->ints.count(code::valu) != 0, "message", "must carry the flags under 'valu'");
      window->writes.push_back(
          ElementWrite{id, container->strings[code::bTIC], container->ints[code::tris], container->ints[code::valu]});
      auto element = window->elements.find(id);
      if (element != window->elements.end()) {
        element->second.text = container->strings[code::bTIC];
        ++element->second.textsSet;
        accepted = true;
      }
    } else if (container->id == code::bDRA) {
      UserArea* area = HostWindows().AreaOf(*window, id);
      contract.Check(area != nullptr, "element", "must be a user area of the window for a draw message");
      if (area != nullptr) ++area->redraws;
      accepted = area != nullptr;
    } else {
      contract.Fail("message", "must be a 'bTIC' or 'bDRA' message, was " + MessageName(container->id));
    }
  }
  const bool answer = accepted && HostWindows().elementMessagesAnswer;
  HostWindows().FillValue(out, TypedValue{kValueInt32, 0, answer ? 1 : 0},
                          Describe(entry::SendElementMessage) + " to element " + std::to_string(id));
  return out;
}

void DialogDeliverResult(void* handle, ContainerStorage* result) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  ContainerValue* container = OwnContainer(contract, result, "result");
  if (container == nullptr) return;
  // The plug-in knows the id only from the host's answers.
  if (Served(entry::ContainerGetId))
    contract.Check(container->id != code::kNoResult, "result", "must carry an id other than -1");
  if (window != nullptr) window->deliveredResults.push_back(container->id);
}

// ---- user areas ----

void* DialogCreateUserArea(void* dialog, std::int32_t id, void* userData, std::int32_t flags, void* customGui) {
  Contract contract;
  Window* window = LiveWindow(contract, dialog, "dialog");
  contract.NotNull(userData, "user data");
  contract.Check((flags & ~kUserAreaFlagsMask) == 0, "flags",
                 "must be a set of USERAREAFLAGS, was " + std::to_string(flags));
  if (window == nullptr) return nullptr;
  ElementPointer(contract, *window, id, customGui);
  return HostWindows().CreateUserArea(dialog, id, userData, flags);
}

void DialogRedrawArea(void* handle, std::int32_t id) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  if (window == nullptr) return;
  UserArea* area = HostWindows().AreaOf(*window, id);
  if (contract.Check(area != nullptr, "element", "must be a user area of the window, was " + std::to_string(id)))
    ++area->redraws;
}

// ---- custom GUIs ----

std::int32_t CustomGuiElementId(void* handle) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  if (window == nullptr) return 0;
  window->lastCustomGuiElement = HostWindows().customGuiAnswers ? HostWindows().customGuiElement : 0;
  return window->lastCustomGuiElement;
}

void CustomGuiDestroyed(void* handle) {
  Contract contract;
  LiveWindow(contract, handle);
}

bool CustomGuiMessage(void* handle, ContainerStorage* message, void* pointer) {
  Contract contract;
  Window* window = LiveWindow(contract, handle);
  ContainerValue* copy = OwnContainer(contract, message, "message");
  contract.Null(pointer, "pointer");
  if (window == nullptr || copy == nullptr) return false;
  contract.Is(copy->id, code::kCustomGuiMessage, "message id");
  if (Served(entry::DialogCustomGuiElementId))
    contract.Is(copy->ints[code::meid], window->lastCustomGuiElement, "message 'meid'");
  return HostWindows().customGuiAnswers;
}

}  // namespace

void InstallDialogEntries(HostTables& tables) {
  Install<entry::DialogCreate, &DialogCreate, kMainThread>(tables);
  Install<entry::DialogRelease, &DialogRelease, kMainThread>(tables);
  Install<entry::DialogUserData, &DialogUserData, kMainThread>(tables);
  Install<entry::DialogClose, &DialogClose, kMainThread>(tables);
  Install<entry::DialogEnable, &DialogEnable, kMainThread>(tables);
  Install<entry::DialogSetTimer, &DialogSetTimer, kMainThread>(tables);
  Install<entry::DialogGroupPadding, &DialogGroupPadding, kMainThread>(tables);
  Install<entry::DialogEndGroup, &DialogEndGroup, kMainThread>(tables);
  Install<entry::DialogRedrawArea, &DialogRedrawArea, kAnyThread>(tables);
  Install<entry::DialogRestore, &DialogRestore, kMainThread>(tables);
  Install<entry::DialogDeliverResult, &DialogDeliverResult, kMainThread>(tables);
  Install<entry::DialogCustomGuiElementId, &CustomGuiElementId, kMainThread>(tables);
  Install<entry::DialogCustomGuiDestroyed, &CustomGuiDestroyed, kMainThread>(tables);
  Install<entry::DialogCustomGuiMessage, &CustomGuiMessage, kMainThread>(tables);
  Install<entry::DialogCreateUserArea, &DialogCreateUserArea, kMainThread>(tables);
  Install<entry::SendElementMessage, &SendElementMessage, kMainThread>(tables);
  Install<entry::DialogBeginGroup, &DialogBeginGroup, kMainThread>(tables);
  Install<entry::DialogOpen, &DialogOpen, kMainThread>(tables);
}

}  // namespace testhost
