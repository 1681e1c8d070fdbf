#pragma once
// The test host's windows: window objects paired with plug-in dialogs, their
// layout, menus, element texts and states, user areas, and the keyed containers
// and typed values that carry every message. Every object handed to the plug-in is
// registered with the host's ownership registry.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testhost/numbers.h"
#include "testhost/ownership.h"
#include "testhost/tables.h"

namespace testhost {

class FaultLog;
class HostTables;
class Ownership;
class PluginCalls;

// A keyed container as the host keeps it; the plug-in's container storage holds a
// pointer to one.
struct ContainerValue {
  std::int32_t id = 0;
  std::map<std::int32_t, std::int64_t> ints;
  std::map<std::int32_t, std::string> strings;
};
// The caller's storage of a container: the host keeps its container's address in
// the first word and fills the rest with a pattern that must still be there when the
// container is destroyed.
struct ContainerStorage {
  alignas(kContainerStorageAlignment) unsigned char bytes[kContainerStorageSize];
};
struct TypedValue {
  std::int32_t kind;
  std::int32_t padding;
  std::int64_t value;
};

struct LayoutItem {
  enum Kind { kGroup, kGroupEnd, kPadding, kLabel };
  explicit LayoutItem(Kind itemKind) : kind(itemKind) {}
  Kind kind;
  std::int32_t id = 0;
  std::int32_t flags = 0;
  std::int32_t columns = 0, rows = 0;
  std::int32_t width = 0, height = 0;
  std::int32_t groupFlags = 0, border = 0;
  std::int32_t padding[4] = {0, 0, 0, 0};
  std::string text;
};

struct MenuEntry {
  std::int32_t id = 0;  // 0 for a submenu
  std::string text;
  bool enabled = true;
  bool checked = false;
  std::vector<MenuEntry> items;
};

struct ElementState {
  std::string text;
  bool enabled = true;
  int textsSet = 0;
};

// One text message the plug-in sent to an element, as the host received it.
struct ElementWrite {
  std::int32_t id = 0;
  std::string text;
  std::int64_t tristate = 0, flags = 0;
};

using DispatchFunction = std::int32_t (*)(void* window, void* area, const ContainerStorage* message);

struct Window {
  DispatchFunction dispatch = nullptr;
  void* userData = nullptr;
  bool released = false;
  bool open = false;
  std::int32_t type = 0, pluginId = 0, subId = 0;
  bool pluginIdSet = false;  // by element operation 24, since the last open or restore
  std::int32_t x = 0, y = 0, width = 0, height = 0, flags = 0;
  std::string title;
  const void* restoredFrom = nullptr;
  std::vector<LayoutItem> layout;
  int openGroups = 0;
  std::vector<MenuEntry> menu;         // committed
  std::vector<MenuEntry> pendingMenu;  // being built
  std::vector<std::vector<MenuEntry>*> menuStack;
  std::map<std::int32_t, ElementState> elements;
  std::vector<ElementWrite> writes;  // every text message, in order
  // Elements that are custom GUIs the host embedded, with their GUI objects.
  std::map<std::int32_t, void*> customGuis;
  std::int32_t lastCustomGuiElement = 0;  // what element query 256 answered last
  std::vector<std::int32_t> rangeFailures;
  std::vector<std::int32_t> deliveredResults;  // ids of result containers the plug-in handed over
  std::int32_t timer = 0;
  int opens = 0;
  bool closeCheckAnswer = true;
  std::function<void(Window&)> modalLoop;  // runs while a modal window is open

  const MenuEntry* FindMenuItem(std::int32_t id) const;
  std::vector<const LayoutItem*> Labels() const;
};

struct UserArea {
  void* dialogHandle = nullptr;
  std::int32_t elementId = 0;
  void* userData = nullptr;
  std::int32_t flags = 0;
  std::int32_t width = 120, height = 40;
  std::int32_t minWidth = -1, minHeight = -1;
  std::int32_t pen = 0;
  std::vector<std::vector<std::int32_t>> fills;
  int redraws = 0;
  bool released = false;
};

class Windows {
 public:
  Windows(FaultLog& faults, Ownership& objects, PluginCalls& calls, const HostTables& tables)
      : faults_(faults), objects_(objects), calls_(calls), tables_(tables) {}

  // --- windows ---
  // A window object for the plug-in (owned by it until it releases it), or one the
  // host keeps for itself; null when the host refuses window objects.
  void* Create(DispatchFunction dispatch, void* userData, Owner owner = Owner::kPlugin);
  void Release(Window& window);
  Window* Find(const void* handle);  // a live window object, or null
  bool WasReleased(const void* handle) const;
  Window* ByPluginId(std::int32_t pluginId);
  std::vector<Window*> All();
  void RefuseWindows(bool refuse) { refuse_ = refuse; }
  std::size_t LiveWindows() const;

  // Sends a message to a window (or to one of its user areas) through the
  // plug-in's dispatch routine, as the host does; the message container is the
  // host's.
  std::int32_t Send(Window& window, std::int32_t code, const std::map<std::int32_t, std::int64_t>& ints = {},
                    void* area = nullptr);
  std::int32_t SendRaw(Window& window, void* area, const ContainerStorage* message);
  void Open(Window& window, std::int32_t type, std::int32_t x, std::int32_t y, std::int32_t w,
            std::int32_t h, std::int32_t flags);
  void Restore(Window& window, const void* token);
  bool Close(Window& window);

  // A token of a saved screen layout, handed to a command to restore its window.
  void* IssueLayoutToken();
  bool IsLayoutToken(const void* token) const;

  // --- containers ---
  ContainerValue* Container(const void* storage);  // the live container in `storage`, or null
  // The host's own containers (messages, settings): made and ended by the host.
  void InitContainer(ContainerStorage* storage, std::int32_t id, const ContainerStorage* source);
  void DestroyContainer(ContainerStorage* storage);
  // Containers the plug-in constructs: its own, and due before its call returns.
  ContainerValue* ConstructForPlugin(void* storage, std::int32_t id, const ContainerValue* source,
                                     const std::string& origin);
  bool DestroyForPlugin(void* storage, const std::string& route);
  // Whether the storage of a live container still holds the pattern the host wrote.
  static bool StorageIntact(const void* storage);
  // The container a storage held before it was destroyed, or null.
  const ContainerValue* DestroyedIn(const void* storage) const;
  bool IsPluginOwned(const ContainerValue* container) const;
  std::size_t LiveContainers() const { return containers_.size(); }

  // --- typed values ---
  enum class ValueState { kPluginMade, kFilled, kReleased };
  // Fills a value for the plug-in, which must release it before its call returns.
  void FillValue(TypedValue* value, const TypedValue& content, const std::string& origin);
  // A value the plug-in made and handed to the host: it too is to be destroyed
  // through the host before the plug-in's call returns.
  void TakeValue(TypedValue* value, const std::string& origin);
  ValueState StateOf(const TypedValue* value) const;
  bool ReleaseValue(TypedValue* value, const std::string& route);

  // After each call into the plug-in: the containers and values it was given or
  // built for the call are gone.
  void AfterPluginCall();
  // Whether the host offers `entry` (its table and the entry are there): what the
  // plug-in cannot give back through a missing entry, it is not blamed for keeping.
  bool Offered(const EntryId& entry) const;

  // --- user areas ---
  void* CreateUserArea(void* dialog, std::int32_t element, void* userData, std::int32_t flags,
                       Owner owner = Owner::kPlugin);
  void ReleaseUserArea(UserArea& area);
  UserArea* FindArea(const void* handle);  // a live user area, or null
  bool WasReleasedArea(const void* handle) const;
  UserArea* AreaOf(const Window& window, std::int32_t element);
  void RefuseUserAreas(bool refuse) { refuseAreas_ = refuse; }
  std::size_t LiveUserAreas() const;

  // --- answers a real host may give ---
  std::int32_t customGuiElement = 7001;  // the element id reported for a custom GUI's window
  bool customGuiAnswers = true;           // false: the custom-GUI entries answer 0 and false
  bool elementMessagesAnswer = true;      // false: element messages are answered with 0

 private:
  ContainerValue* Construct(void* storage, std::int32_t id, const ContainerValue* source, Owner owner,
                            const std::string& origin, const std::string& route);
  void Bury(void* storage, ContainerValue* container);

  FaultLog& faults_;
  Ownership& objects_;
  PluginCalls& calls_;
  const HostTables& tables_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::set<const void*> windowHandles_;
  std::map<const ContainerValue*, std::unique_ptr<ContainerValue>> containers_;
  // Recently destroyed containers stay reserved, so that a second destroy names them.
  std::deque<std::unique_ptr<ContainerValue>> destroyed_;
  std::set<const void*> dueThisCall_;  // containers and values to be gone when the call returns
  std::vector<std::unique_ptr<UserArea>> areas_;
  std::deque<int> layoutTokens_;
  bool refuse_ = false;
  bool refuseAreas_ = false;
};

// A message code as the host names it: its four letters in quotes, or its number.
std::string MessageName(std::int32_t code);


}  // namespace testhost
