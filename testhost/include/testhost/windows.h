#pragma once
// The test host's windows: window objects paired with plug-in dialogs, their
// layout, menus, element texts and states, user areas, and the keyed containers
// and typed values that carry every message.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace testhost {

class Host;

// A keyed container as the host keeps it; the plug-in's container storage holds a
// pointer to one.
struct ContainerValue {
  std::int32_t id = 0;
  std::map<std::int32_t, std::int64_t> ints;
  std::map<std::int32_t, std::string> strings;
};
struct ContainerStorage {
  alignas(8) unsigned char bytes[16];
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

using DispatchFunction = std::int32_t (*)(void* window, void* area, const ContainerStorage* message);

struct Window {
  DispatchFunction dispatch = nullptr;
  void* userData = nullptr;
  bool released = false;
  bool open = false;
  std::int32_t type = 0, pluginId = 0, subId = 0;
  std::int32_t x = 0, y = 0, width = 0, height = 0, flags = 0;
  std::string title;
  void* restoredFrom = nullptr;
  std::vector<LayoutItem> layout;
  std::vector<MenuEntry> menu;         // committed
  std::vector<MenuEntry> pendingMenu;  // being built
  std::vector<std::vector<MenuEntry>*> menuStack;
  std::map<std::int32_t, ElementState> elements;
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
  bool released = false;
};

class Windows {
 public:
  explicit Windows(Host& host) : host_(host) {}

  // --- windows ---
  void* Create(DispatchFunction dispatch, void* userData);
  Window* Find(const void* handle);
  Window* ByPluginId(std::int32_t pluginId);
  std::vector<Window*> All();
  void RefuseWindows(bool refuse) { refuse_ = refuse; }
  std::size_t LiveWindows() const;

  // Sends a message to a window (or to one of its user areas) through the
  // plug-in's dispatch routine, as the host does.
  std::int32_t Send(Window& window, std::int32_t code, const std::map<std::int32_t, std::int64_t>& ints = {},
                    void* area = nullptr);
  std::int32_t SendRaw(Window& window, void* area, const ContainerStorage* message);
  void Open(Window& window, std::int32_t type, std::int32_t x, std::int32_t y, std::int32_t w,
            std::int32_t h, std::int32_t flags);
  bool Close(Window& window);

  // --- containers and values ---
  ContainerValue* Container(const void* storage);
  void InitContainer(ContainerStorage* storage, std::int32_t id, const ContainerStorage* source);
  void DestroyContainer(ContainerStorage* storage);
  std::size_t LiveContainers() const { return containers_.size(); }
  // After each call into the plug-in: containers and values it built for the call are gone.
  void AfterPluginCall() {}

  // --- user areas ---
  void* CreateUserArea(void* dialog, std::int32_t element, void* userData, std::int32_t flags);
  UserArea* FindArea(const void* handle);
  std::size_t LiveUserAreas() const;

  // The element id the host reports for a custom GUI's window.
  std::int32_t customGuiElement = 7001;
  // Message boxes shown (text, style) and files opened with the system.
  std::vector<std::pair<std::string, std::int32_t>> messageBoxes;
  std::vector<std::string> openedFiles;
  std::string applicationFolder = "/opt/hostapp";

 private:
  Host& host_;
  std::vector<std::unique_ptr<Window>> windows_;
  std::set<const void*> windowHandles_;
  std::map<const void*, std::unique_ptr<ContainerValue>> containers_;
  std::vector<std::unique_ptr<UserArea>> areas_;
  bool refuse_ = false;
};

void InstallWindowEntries(Host& host);

}  // namespace testhost
