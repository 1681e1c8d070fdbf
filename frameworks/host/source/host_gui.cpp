#include "host_gui.h"

// ---- construction ----

GeDialog::GeDialog() {
  hidden = false;
  handle = DialogCreate(&DialogDispatch, this);
  layoutBuilt = false;
}

GeDialog::~GeDialog() {
  if (handle != nullptr) DialogRelease(handle);
  handle = nullptr;
}

// ---- the host-driven operations and their defaults ----

bool GeDialog::BuildLayout() { return true; }
bool GeDialog::FillValues() { return true; }
bool GeDialog::OnCoreEvent(int32_t, const GeContainer&) { return true; }
bool GeDialog::OnAction(int32_t, const GeContainer&) { return false; }
bool GeDialog::QueryClose() { return false; }
void GeDialog::OnTimerTick(const GeContainer&) {}
void GeDialog::OnWindowDestroyed() {}

int32_t GeDialog::HandleMessage(const GeContainer& message, GeContainer&) {
  const int32_t id = ContainerGetId(&message);
  switch (id) {
    case msg::kBuildLayout:
      if (layoutBuilt) return 1;
      layoutBuilt = true;
      return BuildLayout() ? 1 : 0;
    case msg::kInitValues:
      if (!layoutBuilt) return 1;
      return FillValues() ? 1 : 0;
    case msg::kCoreMessage:
    case msg::kSyncMessage:
      return OnCoreEvent(ContainerGetInt32(&message, msg::kCoreMessageId, 0), message) ? 1 : 0;
    case msg::kAction:
      return OnAction(ContainerGetInt32(&message, msg::kActionId, 0), message) ? 1 : 0;
    case msg::kCheckClose:
      return QueryClose() ? 1 : 0;
    case msg::kTimer:
      OnTimerTick(message);
      return 1;
    case msg::kDestroyed:
      OnWindowDestroyed();
      layoutBuilt = false;
      return 0;
    case msg::kInteraction:
      HostInteraction(1, 1, 1);
      return 0;
    case msg::kHidden:
      hidden = true;
      return 0;
    case msg::kVisible:
      hidden = false;
      return 0;
    default:
      return 0;
  }
}

bool GeDialog::HandleCloseMessages(int32_t id, bool& closeArmed, int32_t& answer) {
  if (id == msg::kAskClose) {
    answer = closeArmed ? (QueryClose() ? 1 : 0) : 0;
    return true;
  }
  if (id == msg::kCheckClose) {
    closeArmed = true;
    if (!Operation(kOpCloseCheck, 0)) {
      answer = 0;
    } else {
      closeArmed = false;
      answer = 1;
    }
    return true;
  }
  return false;
}

// ---- member operations ----

// Without a window object there is nothing to operate on: every element operation
// answers false without calling the host. Every code the dialogs use answers a bool
// (AddLabel's element comes back through the out-slot).
bool GeDialog::Operation(int32_t code, int32_t id, const core::String* text, int32_t a, int32_t b,
                         int32_t c, int32_t d, void** out) {
  if (handle == nullptr) return false;
  return HostBoolAnswer(
      ElementOperation(handle, code, id, text != nullptr ? text->Slot() : nullptr, a, b, c, d, nullptr, out));
}

bool GeDialog::OpenWindow(DLG_TYPE type, int32_t pluginId, int32_t x, int32_t y,
                          int32_t width, int32_t height, int32_t subId, OPENDIALOGFLAGS flags) {
  if (handle == nullptr) return false;
  Operation(kOpSetPluginId, pluginId, nullptr, subId);
  return DialogOpen(handle, static_cast<int32_t>(type), nullptr, x, y, width, height,
                    static_cast<int32_t>(flags));
}

bool GeDialog::RestoreWindow(int32_t pluginId, int32_t subId, void* layoutToken) {
  if (handle == nullptr) return false;
  Operation(kOpSetPluginId, pluginId, nullptr, subId);
  return DialogRestore(handle, layoutToken);
}

bool GeDialog::IsWindowOpen() { return Operation(kOpIsWindowOpen, 0); }

bool GeDialog::CloseWindow() { return handle != nullptr && DialogClose(handle); }

void GeDialog::SetTimerInterval(int32_t interval) {
  if (handle != nullptr) DialogSetTimer(handle, interval);
}

void GeDialog::SetWindowTitle(const core::String& title) {
  if (handle != nullptr) Operation(kOpSetWindowTitle, 0, &title);
}

bool GeDialog::MenuClear() { return Operation(kOpMenuClear, 0); }
bool GeDialog::MenuBeginSubmenu(const core::String& title) { return Operation(kOpMenuBeginSubmenu, 0, &title); }
bool GeDialog::MenuAddItem(int32_t commandId, const core::String& text) {
  return Operation(kOpMenuAddItem, commandId, &text);
}
bool GeDialog::MenuEndSubmenu() { return Operation(kOpMenuEndSubmenu, 0); }
bool GeDialog::MenuCommit() { return Operation(kOpMenuCommit, 0); }
bool GeDialog::MenuSetItemState(int32_t commandId, bool enabled, bool checked) {
  return Operation(kOpMenuSetItemState, commandId, nullptr, enabled ? 1 : 0, checked ? 1 : 0);
}

bool GeDialog::BeginGroup(int32_t id, int32_t layoutFlags, int32_t columns, int32_t rows,
                          const core::String& title, int32_t groupFlags, int32_t width,
                          int32_t height) {
  if (handle == nullptr) return false;
  return DialogBeginGroup(handle, id, layoutFlags, columns, rows, title.Slot(), groupFlags, width, height);
}

bool GeDialog::SetGroupPadding(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return handle != nullptr && DialogGroupPadding(handle, left, top, right, bottom);
}

bool GeDialog::EndGroup() { return handle != nullptr && DialogEndGroup(handle); }

void* GeDialog::AddLabel(int32_t id, int32_t layoutFlags, int32_t width, int32_t height,
                         const core::String& text, int32_t borderStyle) {
  if (handle == nullptr) return nullptr;
  void* element = nullptr;
  Operation(kOpAddLabel, id, &text, layoutFlags, width, height, borderStyle, &element);
  return element;
}

bool GeDialog::EnableElement(const ElementRef& element, bool enabled) {
  return handle != nullptr && DialogEnableElement(handle, element.id, enabled, element.customGui);
}

bool GeDialog::SetElementText(const ElementRef& element, const core::String& text, int32_t tristate,
                              int32_t flags) {
  LocalContainer message(msg::kSetText);
  message.SetString(msg::kSetText, text.Slot());
  message.SetInt32(msg::kTristate, tristate);
  message.SetInt32(msg::kValue, flags);
  // Without a window object there is nobody to tell, and without a container
  // nothing to send: the answer is false.
  if (handle == nullptr || !message.Constructed()) return false;
  GeValue value{kGeValueInt32, 0, 0};
  SendElementMessage(&value, handle, element.id, message.get(), element.customGui);
  const bool accepted = GeValueGetInt32(&value) != 0;
  ReleaseGeValue(value);
  return accepted;
}

// ---- modal dialogs ----

GeModalDialog::GeModalDialog() {
  result = false;
  valuesValid = true;
}

bool GeModalDialog::OpenModal(int32_t x, int32_t y, int32_t width, int32_t height,
                              bool resizeable, OPENDIALOGFLAGS flags) {
  result = false;
  if (handle == nullptr) return false;
  Operation(kOpSetPluginId, 0, nullptr, 0);
  const DLG_TYPE type = resizeable ? DLG_TYPE::MODAL_RESIZEABLE : DLG_TYPE::MODAL;
  // The host returns only after the modal window has closed.
  const bool opened = DialogOpen(handle, static_cast<int32_t>(type), nullptr, x, y, width, height,
                                 static_cast<int32_t>(flags));
  return opened && result;
}

bool GeModalDialog::CloseModal(bool accepted) {
  result = accepted;
  if (handle == nullptr) return false;
  return DialogClose(handle);
}

int32_t GeModalDialog::HandleMessage(const GeContainer& message, GeContainer& resultContainer) {
  const int32_t id = ContainerGetId(&message);
  switch (id) {
    case msg::kAskClose:
      return result ? (QueryClose() ? 1 : 0) : 0;
    case msg::kAction: {
      const int32_t element = ContainerGetInt32(&message, msg::kActionId, 0);
      valuesValid = true;
      const bool answer = OnAction(element, message);
      if ((element == 1 && valuesValid) || element == 2) {
        result = element == 1;
        if (handle != nullptr) DialogClose(handle);
      }
      return answer ? 1 : 0;
    }
    case msg::kCheckClose:
      if (result && Operation(kOpCloseCheck, 0)) {
        result = false;
        return 1;
      }
      return 0;
    case msg::kInteraction:
      return 0;
    default:
      return BaseHandleMessage(message, resultContainer);
  }
}

template <typename T>
bool InRange(CHECKVALUERANGE type, T value, T x, T y) {
  switch (type) {
    case CHECKVALUERANGE::GREATER: return value > x;
    case CHECKVALUERANGE::GREATEROREQUAL: return value >= x;
    case CHECKVALUERANGE::LESS: return value < x;
    case CHECKVALUERANGE::LESSOREQUAL: return value <= x;
    case CHECKVALUERANGE::BETWEEN: return x < value && value < y;
    case CHECKVALUERANGE::BETWEENOREQUAL: return x <= value && value <= y;
    case CHECKVALUERANGE::BETWEENOREQUALX: return x <= value && value < y;
    case CHECKVALUERANGE::BETWEENOREQUALY: return x < value && value <= y;
    case CHECKVALUERANGE::DIFFERENT: return value != x;
  }
  return false;  // not a range type
}
template bool InRange<int32_t>(CHECKVALUERANGE, int32_t, int32_t, int32_t);
template bool InRange<double>(CHECKVALUERANGE, double, double, double);

void GeModalDialog::ReportRangeFailure(int32_t element, CHECKVALUERANGE type, double x, double y,
                                       CHECKVALUEFORMAT format) {
  Operation(kOpMarkRangeFailure, element);
  HostRangeMessage(static_cast<int32_t>(type), x, y, static_cast<int32_t>(format));
  valuesValid = false;
}

void GeModalDialog::CheckIntRange(int32_t element, CHECKVALUERANGE type, int32_t value, int32_t x,
                                  int32_t y) {
  if (!valuesValid || InRange(type, value, x, y)) return;
  ReportRangeFailure(element, type, static_cast<double>(x), static_cast<double>(y), CHECKVALUEFORMAT::INT);
}

void GeModalDialog::CheckFloatRange(int32_t element, CHECKVALUERANGE type, double value, double x, double y,
                                    CHECKVALUEFORMAT format) {
  if (!valuesValid || InRange(type, value, x, y)) return;
  ReportRangeFailure(element, type, x, y, format);
}

// ---- sub-dialogs ----

SubDialog::SubDialog() { closeArmed = true; }

int32_t SubDialog::HandleMessage(const GeContainer& message, GeContainer& result) {
  int32_t answer = 0;
  if (HandleCloseMessages(ContainerGetId(&message), closeArmed, answer)) return answer;
  return BaseHandleMessage(message, result);
}
