#include "host_userarea.h"

// ---- user areas ----

GeUserArea::~GeUserArea() {
  UserAreaRelease(handle);
  handle = nullptr;
  dialog = nullptr;
}

bool GeUserArea::InitArea() { return true; }
bool GeUserArea::FillAreaValues() { return true; }
bool GeUserArea::QueryMinSize(int32_t&, int32_t&) { return false; }
void GeUserArea::OnResized(int32_t, int32_t) {}

void GeUserArea::PaintArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (handle == nullptr) return;  // no host area to draw into
  UserAreaSetPen(handle, kDefaultAreaColour);
  UserAreaFillRect(handle, x1, y1, x2, y2);
}

void GeUserArea::PaintFromMessage(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                  const GeContainer&) {
  PaintArea(x1, y1, x2, y2);
}

bool GeUserArea::OnInputEvent(const GeContainer&) { return false; }
bool GeUserArea::OnAreaCoreEvent(int32_t, const GeContainer&) { return true; }
void GeUserArea::OnAreaTimer(const GeContainer&) {}

int32_t GeUserArea::HandleAreaMessage(const GeContainer& message, GeContainer&) {
  switch (ContainerGetId(&message)) {
    case msg::kBuildLayout:
      InitArea();
      return 1;
    case msg::kInitValues:
      FillAreaValues();
      return 1;
    case msg::kMinSize: {
      int32_t width = 0;
      int32_t height = 0;
      if (QueryMinSize(width, height) && handle != nullptr) UserAreaSetMinSize(handle, width, height);
      return 1;
    }
    case msg::kResized:
      // Without a host area the size is 0 by 0.
      if (handle != nullptr)
        OnResized(UserAreaWidth(handle), UserAreaHeight(handle));
      else
        OnResized(0, 0);
      return 1;
    case msg::kDraw:
      PaintFromMessage(ContainerGetInt32(&message, 1, 0), ContainerGetInt32(&message, 2, 0),
                       ContainerGetInt32(&message, 3, 0), ContainerGetInt32(&message, 4, 0), message);
      return 1;
    case msg::kInput:
      return OnInputEvent(message) ? 1 : 0;
    case msg::kCoreMessage:
    case msg::kSyncMessage:
      return OnAreaCoreEvent(ContainerGetInt32(&message, msg::kCoreMessageId, 0), message) ? 1 : 0;
    case msg::kTimer:
      OnAreaTimer(message);
      return 1;
    default:
      return 0;
  }
}

// Nothing to redraw without an owning dialog with a window, or without a host area.
void GeUserArea::Redraw(bool threaded) {
  if (dialog == nullptr || dialog->WindowHandle() == nullptr || handle == nullptr) return;
  if (threaded) {
    DialogRedrawArea(dialog->WindowHandle(), UserAreaElementId(handle));
    return;
  }
  LocalContainer draw(msg::kDraw);
  if (!draw.Constructed()) return;
  GeValue answer{0, 0, 0};
  SendElementMessage(&answer, dialog->WindowHandle(), UserAreaElementId(handle), draw.get(), nullptr);
  ReleaseGeValue(answer);
}

bool GeDialog::AttachUserArea(GeUserArea& area, const ElementRef& element, int32_t flags) {
  UserAreaRelease(area.handle);
  area.handle = nullptr;
  area.dialog = this;
  if (handle == nullptr) return false;  // no window to put the area in
  area.handle = DialogCreateUserArea(handle, element.id, &area, flags, element.customGui);
  return area.handle != nullptr;
}

// ---- custom GUI elements ----

iCustomGui::iCustomGui(const GeContainer& settings, const void* creation) {
  closeArmed = true;
  creationData = creation;
  layoutMode = ContainerGetInt32(&settings, msg::kLayoutMode, 0);
  if (layoutMode != 1 && layoutMode != 2) layoutMode = 0;
  defh = ContainerGetInt32(&settings, msg::kDefaultHeight, 10);
}

intptr_t iCustomGui::CustomOperation9() { return 0; }
intptr_t iCustomGui::CustomOperation10() { return 0; }
void iCustomGui::CustomOperation11() {}
bool iCustomGui::CustomOperation12() { return false; }
bool iCustomGui::CustomOperation13() { return false; }
bool iCustomGui::CustomOperation14() { return false; }
bool iCustomGui::CustomOperation15() { return false; }

CustomGuiValue iCustomGui::CustomOperation16() {
  CustomGuiValue answer{-1, {0, 0, 0}};
  const GeValue zeroed{0, 0, 0};
  GeValueInitEmpty(&answer.value, &zeroed);
  return answer;
}

bool iCustomGui::SupportsLayoutMode() {
  return creationData != nullptr && (*static_cast<const unsigned char*>(creationData) & 1u) != 0;
}

void iCustomGui::OnLayoutModeChanged() {}

void iCustomGui::SetLayoutMode(int32_t mode) {
  if (!SupportsLayoutMode() || mode == layoutMode) return;
  layoutMode = mode;
  OnLayoutModeChanged();
}

int32_t iCustomGui::GetLayoutMode() { return layoutMode; }

int32_t iCustomGui::HandleMessage(const GeContainer& message, GeContainer& result) {
  const int32_t id = ContainerGetId(&message);
  if (id == msg::kCustomGuiMessage) {
    LocalContainer copy(id, &message);
    if (copy.GetInt32(msg::kMessageValue, 0) == msg::kCustomGuiMessage) {
      // Without a window object the host cannot take the message: not handled.
      if (handle == nullptr) return 0;
      copy.SetInt32(msg::kActionId, DialogCustomGuiElementId(handle));
      return DialogCustomGuiMessage(handle, copy.get(), nullptr) ? 1 : 0;
    }
    return BaseHandleMessage(message, result);
  }
  if (id == msg::kDestroyed) {
    if (handle != nullptr) DialogCustomGuiDestroyed(handle);
    OnWindowDestroyed();
    return 1;
  }
  int32_t answer = 0;
  if (HandleCloseMessages(id, closeArmed, answer)) return answer;
  return BaseHandleMessage(message, result);
}
