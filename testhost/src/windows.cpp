#include "testhost/windows.h"

#include <cstring>

#include "testhost/host.h"

namespace testhost {

// ---- windows ----

const MenuEntry* FindIn(const std::vector<MenuEntry>& entries, std::int32_t id) {
  for (const MenuEntry& entry : entries) {
    if (entry.id == id && id != 0) return &entry;
    if (const MenuEntry* found = FindIn(entry.items, id)) return found;
  }
  return nullptr;
}

const MenuEntry* Window::FindMenuItem(std::int32_t id) const { return FindIn(menu, id); }

std::vector<const LayoutItem*> Window::Labels() const {
  std::vector<const LayoutItem*> labels;
  for (const LayoutItem& item : layout)
    if (item.kind == LayoutItem::kLabel) labels.push_back(&item);
  return labels;
}

void* Windows::Create(DispatchFunction dispatch, void* userData) {
  if (refuse_) return nullptr;
  windows_.push_back(std::make_unique<Window>());
  Window* window = windows_.back().get();
  window->dispatch = dispatch;
  window->userData = userData;
  windowHandles_.insert(window);
  return window;
}

Window* Windows::Find(const void* handle) {
  if (handle == nullptr || windowHandles_.count(handle) == 0) return nullptr;
  auto* window = static_cast<Window*>(const_cast<void*>(handle));
  return window->released ? nullptr : window;
}

Window* Windows::ByPluginId(std::int32_t pluginId) {
  for (auto& window : windows_)
    if (!window->released && window->pluginId == pluginId) return window.get();
  return nullptr;
}

std::vector<Window*> Windows::All() {
  std::vector<Window*> all;
  for (auto& window : windows_) all.push_back(window.get());
  return all;
}

std::size_t Windows::LiveWindows() const {
  std::size_t live = 0;
  for (const auto& window : windows_) live += window->released ? 0 : 1;
  return live;
}

std::int32_t Windows::SendRaw(Window& window, void* area, const ContainerStorage* message) {
  return host_.IntoPlugin([&] { return window.dispatch(&window, area, message); });
}

std::int32_t Windows::Send(Window& window, std::int32_t code, const std::map<std::int32_t, std::int64_t>& ints,
                           void* area) {
  ContainerStorage message{};
  InitContainer(&message, code, nullptr);
  for (const auto& [key, value] : ints) Container(&message)->ints[key] = value;
  const std::int32_t answer = SendRaw(window, area, &message);
  DestroyContainer(&message);
  return answer;
}

void Windows::Open(Window& window, std::int32_t type, std::int32_t x, std::int32_t y, std::int32_t w,
                   std::int32_t h, std::int32_t flags) {
  window.type = type;
  window.x = x;
  window.y = y;
  window.width = w;
  window.height = h;
  window.flags = flags;
  window.open = true;
  window.layout.clear();
  window.elements.clear();
  ++window.opens;
  // A new window builds its layout, then takes its initial values.
  Send(window, 0x62494E49);  // bINI
  Send(window, 0x6256494E);  // bVIN
}

bool Windows::Close(Window& window) {
  if (!window.open) return false;
  window.open = false;
  Send(window, 0x64737479);  // dsty
  return true;
}

// ---- containers ----

ContainerValue* Windows::Container(const void* storage) {
  if (storage == nullptr) return nullptr;
  ContainerValue* value;
  std::memcpy(&value, storage, sizeof(value));
  if (containers_.count(value) == 0) {
    host_.Fail("a container the host did not construct");
    return nullptr;
  }
  return value;
}

void Windows::InitContainer(ContainerStorage* storage, std::int32_t id, const ContainerStorage* source) {
  auto value = std::make_unique<ContainerValue>();
  if (source != nullptr)
    if (const ContainerValue* from = Container(source)) *value = *from;
  value->id = id;
  ContainerValue* raw = value.get();
  containers_[raw] = std::move(value);
  std::memcpy(storage->bytes, &raw, sizeof(raw));
}

void Windows::DestroyContainer(ContainerStorage* storage) {
  ContainerValue* value = Container(storage);
  if (value == nullptr) return;
  containers_.erase(value);
  std::memset(storage->bytes, 0, sizeof(storage->bytes));
}

// ---- user areas ----

void* Windows::CreateUserArea(void* dialog, std::int32_t element, void* userData, std::int32_t flags) {
  if (Find(dialog) == nullptr) return nullptr;
  areas_.push_back(std::make_unique<UserArea>());
  UserArea* area = areas_.back().get();
  area->dialogHandle = dialog;
  area->elementId = element;
  area->userData = userData;
  area->flags = flags;
  return area;
}

UserArea* Windows::FindArea(const void* handle) {
  for (auto& area : areas_)
    if (area.get() == handle && !area->released) return area.get();
  return nullptr;
}

std::size_t Windows::LiveUserAreas() const {
  std::size_t live = 0;
  for (const auto& area : areas_) live += area->released ? 0 : 1;
  return live;
}

// ---- entries ----

namespace {

using StringSlot = FrameworkObject*;

Windows& W() { return Host::Current().WindowModel(); }

// A null handle (a dialog the host gave no window object) is ignored, as a host
// would; any other handle must name a live window.
Window* CheckedWindow(void* handle, const char* operation) {
  if (handle == nullptr) return nullptr;
  Window* window = W().Find(handle);
  if (window == nullptr) Host::Current().Fail(std::string(operation) + " on a window the host does not know");
  return window;
}

std::string Text(const StringSlot* text) {
  return text != nullptr ? Host::Current().Framework().StringText(*text) : std::string();
}

void* DialogCreateEntry(DispatchFunction dispatch, void* userData) { return W().Create(dispatch, userData); }

void DialogReleaseEntry(void* handle) {
  if (Window* window = CheckedWindow(handle, "releasing a window object")) window->released = true;
}

void* DialogUserDataEntry(void* handle) {
  Window* window = W().Find(handle);
  return window != nullptr ? window->userData : nullptr;
}

bool DialogCloseEntry(void* handle) {
  Window* window = CheckedWindow(handle, "closing");
  return window != nullptr && W().Close(*window);
}

bool DialogEnableEntry(void* handle, std::int32_t id, bool enabled, void*) {
  Window* window = CheckedWindow(handle, "enabling an element");
  if (window == nullptr || window->elements.count(id) == 0) return false;
  window->elements[id].enabled = enabled;
  return true;
}

void DialogSetTimerEntry(void* handle, std::int32_t interval) {
  if (Window* window = CheckedWindow(handle, "setting a timer")) window->timer = interval;
}

bool DialogGroupPaddingEntry(void* handle, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  Window* window = CheckedWindow(handle, "group padding");
  if (window == nullptr) return false;
  LayoutItem item{LayoutItem::kPadding};
  item.padding[0] = l;
  item.padding[1] = t;
  item.padding[2] = r;
  item.padding[3] = b;
  window->layout.push_back(item);
  return true;
}

bool DialogEndGroupEntry(void* handle) {
  Window* window = CheckedWindow(handle, "ending a group");
  if (window == nullptr) return false;
  window->layout.push_back(LayoutItem{LayoutItem::kGroupEnd});
  return true;
}

void DialogRedrawAreaEntry(void*, std::int32_t) {}

bool DialogRestoreEntry(void* handle, void* token) {
  Window* window = CheckedWindow(handle, "restoring");
  if (window == nullptr) return false;
  window->restoredFrom = token;
  W().Open(*window, window->type != 0 ? window->type : 20, -1, -1, 0, 0, 0);
  return true;
}

void DialogDeliverResultEntry(void* handle, ContainerStorage* result) {
  Window* window = CheckedWindow(handle, "delivering a result");
  ContainerValue* value = W().Container(result);
  if (window != nullptr && value != nullptr) window->deliveredResults.push_back(value->id);
}

std::int32_t CustomGuiElementEntry(void*) { return W().customGuiElement; }
void CustomGuiDestroyedEntry(void*) {}
bool CustomGuiMessageEntry(void*, ContainerStorage*, void*) { return true; }

void AddMenuEntry(Window& window, MenuEntry entry) {
  std::vector<MenuEntry>* target = window.menuStack.empty() ? &window.pendingMenu : window.menuStack.back();
  target->push_back(std::move(entry));
}

std::intptr_t ElementOperationEntry(void* handle, std::int32_t code, std::int32_t id, const StringSlot* text,
                                    std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, void*,
                                    void** out) {
  Window* window = CheckedWindow(handle, "an element operation");
  if (window == nullptr) return 0;
  switch (code) {
    case 3: {  // AddLabel
      LayoutItem label{LayoutItem::kLabel};
      label.id = id;
      label.flags = a;
      label.width = b;
      label.height = c;
      label.border = d;
      label.text = Text(text);
      window->layout.push_back(label);
      ElementState& state = window->elements[id];
      state.text = label.text;
      if (out != nullptr) *out = &state;
      return 1;
    }
    case 20:
      window->title = Text(text);
      return 1;
    case 24:
      window->pluginId = id;
      window->subId = a;
      return 1;
    case 26:
      window->rangeFailures.push_back(id);
      return 1;
    case 27: {
      MenuEntry submenu;
      submenu.text = Text(text);
      AddMenuEntry(*window, submenu);
      std::vector<MenuEntry>* target = window->menuStack.empty() ? &window->pendingMenu : window->menuStack.back();
      window->menuStack.push_back(&target->back().items);
      return 1;
    }
    case 28:
      if (window->menuStack.empty()) return 0;
      window->menuStack.pop_back();
      return 1;
    case 30:
      window->pendingMenu.clear();
      window->menuStack.clear();
      return 1;
    case 32:
      return window->closeCheckAnswer ? 1 : 0;
    case 35:
      window->menu = window->pendingMenu;
      return 1;
    case 38: {
      MenuEntry item;
      item.id = id;
      item.text = Text(text);
      AddMenuEntry(*window, item);
      return 1;
    }
    case 43: {
      auto* item = const_cast<MenuEntry*>(window->FindMenuItem(id));
      if (item == nullptr) return 0;
      item->enabled = a != 0;
      item->checked = b != 0;
      return 1;
    }
    case 52:
      return window->open ? 1 : 0;
    default:
      Host::Current().Fail("element operation code " + std::to_string(code) + " is not one the host knows");
      return 0;
  }
}

void* CreateUserAreaEntry(void* dialog, std::int32_t element, void* userData, std::int32_t flags, void*) {
  return W().CreateUserArea(dialog, element, userData, flags);
}

TypedValue* SendElementMessageEntry(TypedValue* out, void* handle, std::int32_t element,
                                    const ContainerStorage* message, void*) {
  *out = TypedValue{15, 0, 0};
  Window* window = CheckedWindow(handle, "an element message");
  ContainerValue* value = W().Container(message);
  if (window == nullptr || value == nullptr) return out;
  auto found = window->elements.find(element);
  if (found == window->elements.end()) return out;
  if (value->id == 0x62544943) {  // bTIC: set the element's text
    found->second.text = value->strings[0x62544943];
    ++found->second.textsSet;
  }
  out->value = 1;
  return out;
}

bool DialogBeginGroupEntry(void* handle, std::int32_t id, std::int32_t flags, std::int32_t columns,
                           std::int32_t rows, const StringSlot* title, std::int32_t groupFlags, std::int32_t width,
                           std::int32_t height) {
  Window* window = CheckedWindow(handle, "beginning a group");
  if (window == nullptr) return false;
  LayoutItem group{LayoutItem::kGroup};
  group.id = id;
  group.flags = flags;
  group.columns = columns;
  group.rows = rows;
  group.text = Text(title);
  group.groupFlags = groupFlags;
  group.width = width;
  group.height = height;
  window->layout.push_back(group);
  return true;
}

bool DialogOpenEntry(void* handle, std::int32_t type, void*, std::int32_t x, std::int32_t y, std::int32_t w,
                     std::int32_t h, std::int32_t flags) {
  Window* window = CheckedWindow(handle, "opening");
  if (window == nullptr) return false;
  W().Open(*window, type, x, y, w, h, flags);
  if (type >= 10 && type <= 12) {
    // A modal window: the call returns only when it has closed.
    if (window->modalLoop) window->modalLoop(*window);
    if (window->open) W().Close(*window);
  }
  return true;
}

// Containers.
void ContainerInitEntry(ContainerStorage* storage, std::int32_t id, const ContainerStorage* source) {
  W().InitContainer(storage, id, source);
}
void ContainerDestroyEntry(ContainerStorage* storage) { W().DestroyContainer(storage); }
std::int32_t ContainerGetIdEntry(const ContainerStorage* storage) {
  ContainerValue* value = W().Container(storage);
  return value != nullptr ? value->id : 0;
}
void ContainerSetInt32Entry(ContainerStorage* storage, std::int32_t key, std::int32_t value) {
  if (ContainerValue* container = W().Container(storage)) container->ints[key] = value;
}
void ContainerSetStringEntry(ContainerStorage* storage, std::int32_t key, const StringSlot* text) {
  if (ContainerValue* container = W().Container(storage)) container->strings[key] = Text(text);
}
std::int32_t ContainerGetInt32Entry(const ContainerStorage* storage, std::int32_t key, std::int32_t fallback) {
  ContainerValue* container = W().Container(storage);
  if (container == nullptr) return fallback;
  auto found = container->ints.find(key);
  return found != container->ints.end() ? static_cast<std::int32_t>(found->second) : fallback;
}

// Typed values.
void GeValueDestroyEntry(TypedValue* value) {
  if (value != nullptr) *value = TypedValue{0, 0, 0};
}
std::int32_t GeValueGetInt32Entry(const TypedValue* value) {
  return value != nullptr && value->kind == 15 ? static_cast<std::int32_t>(value->value) : 0;
}
void GeValueInitEmptyEntry(TypedValue* out, const TypedValue* source) {
  if (out != nullptr) *out = source != nullptr ? *source : TypedValue{0, 0, 0};
}

// User areas.
void UserAreaReleaseEntry(void* handle) {
  if (handle == nullptr) return;
  if (UserArea* area = W().FindArea(handle)) area->released = true;
  else Host::Current().Fail("releasing a user area the host does not know");
}
void* UserAreaUserDataEntry(void* handle) {
  UserArea* area = W().FindArea(handle);
  return area != nullptr ? area->userData : nullptr;
}
std::int32_t UserAreaWidthEntry(void* handle) {
  UserArea* area = W().FindArea(handle);
  return area != nullptr ? area->width : 0;
}
std::int32_t UserAreaHeightEntry(void* handle) {
  UserArea* area = W().FindArea(handle);
  return area != nullptr ? area->height : 0;
}
std::int32_t UserAreaElementIdEntry(void* handle) {
  UserArea* area = W().FindArea(handle);
  return area != nullptr ? area->elementId : 0;
}
void UserAreaSetMinSizeEntry(void* handle, std::int32_t width, std::int32_t height) {
  if (UserArea* area = W().FindArea(handle)) {
    area->minWidth = width;
    area->minHeight = height;
  }
}
void UserAreaFillRectEntry(void* handle, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  if (UserArea* area = W().FindArea(handle)) area->fills.push_back({area->pen, x1, y1, x2, y2});
}
void UserAreaSetPenEntry(void* handle, std::int32_t colour) {
  if (UserArea* area = W().FindArea(handle)) area->pen = colour;
}

// General entries the bridge and the tool use.
bool OpenFileEntry(const PathValue* const* path) {
  W().openedFiles.push_back(path != nullptr && *path != nullptr ? (*path)->text : std::string());
  return true;
}
void ApplicationFolderEntry(PathValue** slot) {
  if (slot != nullptr) *slot = Host::Current().NewPath(W().applicationFolder, Owner::kPlugin, "ApplicationFolder");
}
std::int32_t MessageBoxEntry(const StringSlot* text, std::int32_t style) {
  W().messageBoxes.emplace_back(Text(text), style);
  return 1;
}
void HostStateEntry(std::int32_t) {}
void InteractionEntry(std::int32_t, std::int32_t, std::int32_t) {}
void RangeMessageEntry(std::int32_t, double, double, std::int32_t) {}

}  // namespace

void InstallWindowEntries(Host& host) {
  Install<entry::DialogCreate, &DialogCreateEntry>(host);
  Install<entry::DialogRelease, &DialogReleaseEntry>(host);
  Install<entry::DialogUserData, &DialogUserDataEntry>(host);
  Install<entry::DialogClose, &DialogCloseEntry>(host);
  Install<entry::DialogEnable, &DialogEnableEntry>(host);
  Install<entry::DialogSetTimer, &DialogSetTimerEntry>(host);
  Install<entry::DialogGroupPadding, &DialogGroupPaddingEntry>(host);
  Install<entry::DialogEndGroup, &DialogEndGroupEntry>(host);
  Install<entry::DialogRedrawArea, &DialogRedrawAreaEntry>(host);
  Install<entry::DialogRestore, &DialogRestoreEntry>(host);
  Install<entry::DialogDeliverResult, &DialogDeliverResultEntry>(host);
  Install<entry::DialogCustomGuiElementId, &CustomGuiElementEntry>(host);
  Install<entry::ElementOperation, &ElementOperationEntry>(host);
  Install<entry::DialogCustomGuiDestroyed, &CustomGuiDestroyedEntry>(host);
  Install<entry::DialogCustomGuiMessage, &CustomGuiMessageEntry>(host);
  Install<entry::DialogCreateUserArea, &CreateUserAreaEntry>(host);
  Install<entry::SendElementMessage, &SendElementMessageEntry>(host);
  Install<entry::DialogBeginGroup, &DialogBeginGroupEntry>(host);
  Install<entry::DialogOpen, &DialogOpenEntry>(host);
  Install<entry::ContainerInit, &ContainerInitEntry>(host);
  Install<entry::ContainerDestroy, &ContainerDestroyEntry>(host);
  Install<entry::ContainerGetId, &ContainerGetIdEntry>(host);
  Install<entry::ContainerSetInt32, &ContainerSetInt32Entry>(host);
  Install<entry::ContainerSetString, &ContainerSetStringEntry>(host);
  Install<entry::ContainerGetInt32, &ContainerGetInt32Entry>(host);
  Install<entry::GeValueDestroy, &GeValueDestroyEntry>(host);
  Install<entry::GeValueGetInt32, &GeValueGetInt32Entry>(host);
  Install<entry::GeValueInitEmpty, &GeValueInitEmptyEntry>(host);
  Install<entry::UserAreaRelease, &UserAreaReleaseEntry>(host);
  Install<entry::UserAreaUserData, &UserAreaUserDataEntry>(host);
  Install<entry::UserAreaWidth, &UserAreaWidthEntry>(host);
  Install<entry::UserAreaHeight, &UserAreaHeightEntry>(host);
  Install<entry::UserAreaElementId, &UserAreaElementIdEntry>(host);
  Install<entry::UserAreaSetMinSize, &UserAreaSetMinSizeEntry>(host);
  Install<entry::UserAreaFillRect, &UserAreaFillRectEntry>(host);
  Install<entry::UserAreaSetPen, &UserAreaSetPenEntry>(host);
  Install<entry::OpenFileWithSystem, &OpenFileEntry>(host);
  Install<entry::ApplicationFolder, &ApplicationFolderEntry>(host);
  Install<entry::ShowMessageBox, &MessageBoxEntry>(host);
  Install<entry::HostState, &HostStateEntry>(host);
  Install<entry::HostInteraction, &InteractionEntry>(host);
  Install<entry::RangeMessage, &RangeMessageEntry>(host);
}

}  // namespace testhost
