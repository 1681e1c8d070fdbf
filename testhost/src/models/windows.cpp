// The host's windows: window objects, what the host shows in them, the messages it
// sends, user areas, and the containers and typed values that cross with messages.
#include "testhost/windows.h"

#include <cctype>
#include <cstring>

#include "testhost/abi.h"
#include "testhost/fault_log.h"
#include "testhost/host_tables.h"
#include "testhost/plugin_calls.h"
#include "testhost/numbers.h"

namespace testhost {

namespace {

// A destroyed container leaves this mark in its storage, followed by the container,
// so that a second destroy is told from storage that never held one.
const unsigned char kDestroyedMark = 0;
constexpr std::size_t kReservedContainers = 256;
// A released typed value carries this in its padding, so that a second release is
// told from a new value the plug-in made at the same address.
constexpr std::int32_t kReleasedValueMark = 0x52454C44;

const MenuEntry* FindIn(const std::vector<MenuEntry>& entries, std::int32_t id) {
  for (const MenuEntry& entry : entries) {
    if (entry.id == id && id != 0) return &entry;
    if (const MenuEntry* found = FindIn(entry.items, id)) return found;
  }
  return nullptr;
}

const void* PointerIn(const void* storage, std::size_t offset) { return ReadAt<const void*>(storage, offset); }

// The pattern behind the container's address, byte by byte.
unsigned char PatternByte(std::size_t at) { return static_cast<unsigned char>(0xC3 ^ at); }

}  // namespace

std::string MessageName(std::int32_t code) {
  std::string letters;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char letter = static_cast<char>((static_cast<std::uint32_t>(code) >> shift) & 0xFF);
    if (!std::isalnum(static_cast<unsigned char>(letter))) return std::to_string(code);
    letters += letter;
  }
  return "'" + letters + "'";
}

// ---- windows ----

const MenuEntry* Window::FindMenuItem(std::int32_t id) const { return FindIn(menu, id); }

std::vector<const LayoutItem*> Window::Labels() const {
  std::vector<const LayoutItem*> labels;
  for (const LayoutItem& item : layout)
    if (item.kind == LayoutItem::kLabel) labels.push_back(&item);
  return labels;
}

void* Windows::Create(DispatchFunction dispatch, void* userData, Owner owner) {
  if (refuse_ && owner == Owner::kPlugin) return nullptr;
  windows_.push_back(std::make_unique<Window>());
  Window* window = windows_.back().get();
  window->dispatch = dispatch;
  window->userData = userData;
  windowHandles_.insert(window);
  if (owner == Owner::kPlugin)
    objects_.HandOut(window, "window object", owner, Describe(entry::DialogCreate),
                            Describe(entry::DialogRelease));
  else
    objects_.HandOut(window, "window object", owner, "the host's own window");
  return window;
}

void Windows::Release(Window& window) {
  window.released = true;
  window.open = false;
}

Window* Windows::Find(const void* handle) {
  if (handle == nullptr || windowHandles_.count(handle) == 0) return nullptr;
  auto* window = static_cast<Window*>(const_cast<void*>(handle));
  return window->released ? nullptr : window;
}

bool Windows::WasReleased(const void* handle) const {
  return windowHandles_.count(handle) != 0 && static_cast<const Window*>(handle)->released;
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
  return calls_.Into([&] { return window.dispatch(&window, area, message); });
}

std::int32_t Windows::Send(Window& window, std::int32_t code, const std::map<std::int32_t, std::int64_t>& ints,
                           void* area) {
  ContainerStorage message{};
  ContainerValue* value = Construct(&message, code, nullptr, Owner::kHost, "the host's message " + MessageName(code), "");
  value->ints = ints;
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
  window.pluginIdSet = false;
  window.layout.clear();
  window.openGroups = 0;
  window.pendingMenu.clear();
  window.menuStack.clear();
  window.elements.clear();
  ++window.opens;
  // A new window builds its layout, then takes its initial values.
  Send(window, code::bINI);
  Send(window, code::bVIN);
}

void Windows::Restore(Window& window, const void* token) {
  window.restoredFrom = token;
  // A restored window comes back where the saved layout had it.
  Open(window, window.type != 0 ? window.type : dlg::kAsync, -1, -1, 0, 0, openflag::kNone);
}

bool Windows::Close(Window& window) {
  if (!window.open) return false;
  window.open = false;
  Send(window, code::dsty);
  return true;
}

void* Windows::IssueLayoutToken() {
  layoutTokens_.push_back(0);
  return &layoutTokens_.back();
}

bool Windows::IsLayoutToken(const void* token) const {
  for (const int& issued : layoutTokens_)
    if (&issued == token) return true;
  return false;
}

// ---- containers ----

ContainerValue* Windows::Container(const void* storage) {
  if (storage == nullptr) return nullptr;
  auto found = containers_.find(static_cast<const ContainerValue*>(PointerIn(storage, 0)));
  return found != containers_.end() ? found->second.get() : nullptr;
}

ContainerValue* Windows::Construct(void* storage, std::int32_t id, const ContainerValue* source, Owner owner,
                                   const std::string& origin, const std::string& route) {
  auto value = std::make_unique<ContainerValue>();
  if (source != nullptr) *value = *source;
  value->id = id;
  ContainerValue* raw = value.get();
  containers_[raw] = std::move(value);
  auto* bytes = static_cast<unsigned char*>(storage);
  for (std::size_t at = sizeof(raw); at < kContainerStorageSize; ++at) bytes[at] = PatternByte(at);
  WriteAt(storage, 0, raw);
  objects_.HandOut(raw, owner == Owner::kHost ? "host container" : "container", owner, origin, route);
  if (owner == Owner::kPlugin) dueThisCall_.insert(raw);
  return raw;
}

void Windows::InitContainer(ContainerStorage* storage, std::int32_t id, const ContainerStorage* source) {
  Construct(storage, id, Container(source), Owner::kHost, "a container the host made", "");
}

void Windows::DestroyContainer(ContainerStorage* storage) {
  ContainerValue* value = Container(storage);
  if (value == nullptr) return;
  objects_.Retire(value);
  Bury(storage, value);
}

ContainerValue* Windows::ConstructForPlugin(void* storage, std::int32_t id, const ContainerValue* source,
                                            const std::string& origin) {
  return Construct(storage, id, source, Owner::kPlugin, origin, Describe(entry::ContainerDestroy));
}

bool Windows::StorageIntact(const void* storage) {
  const auto* bytes = static_cast<const unsigned char*>(storage);
  for (std::size_t at = sizeof(void*); at < kContainerStorageSize; ++at)
    if (bytes[at] != PatternByte(at)) return false;
  return true;
}

bool Windows::DestroyForPlugin(void* storage, const std::string& route) {
  ContainerValue* value = Container(storage);
  if (value == nullptr || !objects_.GiveBack(value, route)) return false;
  if (!StorageIntact(storage))
    faults_.Fail(route + ": the storage of " + objects_.Name(value) + " was overwritten while the container lived (" +
               std::to_string(kContainerStorageSize) + " bytes are the container's)");
  dueThisCall_.erase(value);
  Bury(storage, value);
  return true;
}

void Windows::Bury(void* storage, ContainerValue* container) {
  auto found = containers_.find(container);
  destroyed_.push_back(std::move(found->second));
  containers_.erase(found);
  if (destroyed_.size() > kReservedContainers) destroyed_.pop_front();
  WriteAt(storage, 0, &kDestroyedMark);
  WriteAt(storage, 8, container);
}

const ContainerValue* Windows::DestroyedIn(const void* storage) const {
  if (storage == nullptr || PointerIn(storage, 0) != &kDestroyedMark) return nullptr;
  const void* container = PointerIn(storage, 8);
  for (const auto& reserved : destroyed_)
    if (reserved.get() == container) return reserved.get();
  return nullptr;
}

bool Windows::IsPluginOwned(const ContainerValue* container) const {
  return objects_.IsPluginOwned(container);
}

// ---- typed values ----

void Windows::FillValue(TypedValue* value, const TypedValue& content, const std::string& origin) {
  *value = content;
  TakeValue(value, origin);
}

void Windows::TakeValue(TypedValue* value, const std::string& origin) {
  objects_.HandOut(value, "typed value", Owner::kPlugin, origin, Describe(entry::GeValueDestroy));
  dueThisCall_.insert(value);
}

Windows::ValueState Windows::StateOf(const TypedValue* value) const {
  const Holding* holding = objects_.Find(value);
  if (holding == nullptr || holding->kind != "typed value") return ValueState::kPluginMade;
  if (!holding->released) return ValueState::kFilled;
  const bool marked = value->kind == kValueEmpty && value->padding == kReleasedValueMark && value->value == 0;
  return marked ? ValueState::kReleased : ValueState::kPluginMade;
}

bool Windows::ReleaseValue(TypedValue* value, const std::string& route) {
  switch (StateOf(value)) {
    case ValueState::kFilled:
      if (!objects_.GiveBack(value, route)) return false;
      dueThisCall_.erase(value);
      *value = TypedValue{kValueEmpty, kReleasedValueMark, 0};
      return true;
    case ValueState::kReleased:
      objects_.GiveBack(value, route);  // names the earlier release
      return false;
    case ValueState::kPluginMade:
      *value = TypedValue{kValueEmpty, 0, 0};
      return true;
  }
  return false;
}

void Windows::AfterPluginCall() {
  for (const void* object : dueThisCall_) {
    const Holding* holding = objects_.Find(object);
    if (holding == nullptr || holding->released) continue;
    const bool value = holding->kind == "typed value";
    if (!Offered(value ? entry::GeValueDestroy : entry::ContainerDestroy)) {
      objects_.Retire(object);  // no way back: the host takes it
      continue;
    }
    faults_.Fail("the plug-in still held " + objects_.Name(object) +
               " when its call returned; it is to go back through " + holding->route + " before");
  }
  dueThisCall_.clear();
}

bool Windows::Offered(const EntryId& entry) const { return tables_.Offered(entry); }

// ---- user areas ----

void* Windows::CreateUserArea(void* dialog, std::int32_t element, void* userData, std::int32_t flags, Owner owner) {
  if ((refuseAreas_ && owner == Owner::kPlugin) || Find(dialog) == nullptr) return nullptr;
  areas_.push_back(std::make_unique<UserArea>());
  UserArea* area = areas_.back().get();
  area->dialogHandle = dialog;
  area->elementId = element;
  area->userData = userData;
  area->flags = flags;
  objects_.HandOut(area, "user area", owner,
                          Describe(entry::DialogCreateUserArea) + " for element " + std::to_string(element),
                          owner == Owner::kPlugin ? Describe(entry::UserAreaRelease) : "");
  return area;
}

void Windows::ReleaseUserArea(UserArea& area) { area.released = true; }

UserArea* Windows::FindArea(const void* handle) {
  for (auto& area : areas_)
    if (area.get() == handle && !area->released) return area.get();
  return nullptr;
}

bool Windows::WasReleasedArea(const void* handle) const {
  for (const auto& area : areas_)
    if (area.get() == handle) return area->released;
  return false;
}

UserArea* Windows::AreaOf(const Window& window, std::int32_t element) {
  for (auto& area : areas_)
    if (!area->released && area->dialogHandle == &window && area->elementId == element) return area.get();
  return nullptr;
}

std::size_t Windows::LiveUserAreas() const {
  std::size_t live = 0;
  for (const auto& area : areas_) live += area->released ? 0 : 1;
  return live;
}

}  // namespace testhost
