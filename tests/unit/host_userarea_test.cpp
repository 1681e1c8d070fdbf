// User areas inside dialogs and the custom GUI base (host_userarea.h, t_HostOS_Cu).
#include <vector>

#include "host_userarea.h"
#include "runtime_fixture.h"
#include "virtual_slots.h"

namespace code = testhost::code;
namespace entry = testhost::entry;

namespace {

class Area : public GeUserArea {
 public:
  bool InitArea() override {
    ++inits;
    return false;
  }
  bool FillAreaValues() override { return false; }
  bool QueryMinSize(std::int32_t& width, std::int32_t& height) override {
    width = 64;
    height = 32;
    return giveSize;
  }
  void OnResized(std::int32_t width, std::int32_t height) override {
    resizedTo[0] = width;
    resizedTo[1] = height;
  }
  bool OnInputEvent(const GeContainer&) override { return takesInput; }
  bool OnAreaCoreEvent(std::int32_t id, const GeContainer&) override {
    coreEvents.push_back(id);
    return true;
  }
  bool giveSize = false;
  bool takesInput = false;
  int inits = 0;
  std::vector<std::int32_t> coreEvents;
  std::int32_t resizedTo[2] = {0, 0};
};

class Gui : public iCustomGui {
 public:
  using iCustomGui::iCustomGui;
  void OnLayoutModeChanged() override { ++changes; }
  void OnWindowDestroyed() override { ++destroyed; }
  int changes = 0;
  int destroyed = 0;
};

}  // namespace

class UserAreaTest : public BoundRuntimeTest {
 protected:
  std::int32_t SendToArea(GeDialog& dialog, GeUserArea& area, std::int32_t code,
                          std::map<std::int32_t, std::int64_t> ints = {}) {
    return windows().Send(*windows().Find(dialog.WindowHandle()), code, ints, area.AreaHandle());
  }
};

TEST_F(UserAreaTest, AttachedAreaReceivesItsMessages) {
  GeDialog dialog;
  Area area;
  ASSERT_TRUE(dialog.AttachUserArea(area, ElementRef{300}, USERAREA_COREMESSAGE));
  EXPECT_EQ(area.Dialog(), &dialog);
  const auto create = host().CallsTo(entry::DialogCreateUserArea);
  ASSERT_EQ(create.size(), 1u);
  EXPECT_EQ(create[0].Int(1), 300);
  EXPECT_EQ(create[0].Ptr<void>(2), static_cast<void*>(&area));
  EXPECT_EQ(create[0].Int(3), 4);
  EXPECT_EQ(host().CallsTo(entry::UserAreaRelease).at(0).Ptr<void>(0), nullptr);  // nothing held before

  EXPECT_EQ(SendToArea(dialog, area, code::bINI), 1);  // whatever InitArea answers
  EXPECT_EQ(SendToArea(dialog, area, code::bVIN), 1);
  EXPECT_EQ(area.inits, 1);
  EXPECT_EQ(SendToArea(dialog, area, code::bISI), 1);
  EXPECT_EQ(area.resizedTo[0], 120);
  EXPECT_EQ(area.resizedTo[1], 40);
  EXPECT_EQ(SendToArea(dialog, area, code::bIPN), 0);
  area.takesInput = true;
  EXPECT_EQ(SendToArea(dialog, area, code::bIPN), 1);  // the area's answer reaches the host
  EXPECT_EQ(SendToArea(dialog, area, code::MciM, {{code::MciI, 604}}), 1);
  EXPECT_EQ(SendToArea(dialog, area, code::sync, {{code::MciI, 12}}), 1);
  EXPECT_EQ(area.coreEvents, (std::vector<std::int32_t>{604, 12}));
  EXPECT_EQ(SendToArea(dialog, area, code::kTimer), 1);
  EXPECT_EQ(SendToArea(dialog, area, 0x7A7A7A7A), 0);

  // The default painting fills the rectangle in colour 1000.
  EXPECT_EQ(SendToArea(dialog, area, code::bDRA, {{1, 1}, {2, 2}, {3, 30}, {4, 40}}), 1);
  testhost::UserArea* hostArea = windows().FindArea(area.AreaHandle());
  ASSERT_EQ(hostArea->fills.size(), 1u);
  EXPECT_EQ(hostArea->fills[0], (std::vector<std::int32_t>{1000, 1, 2, 30, 40}));
}

TEST_F(UserAreaTest, MinimumSizeOnlyWhenTheAreaGivesOne) {
  GeDialog dialog;
  Area area;
  dialog.AttachUserArea(area, ElementRef{300}, 0);
  EXPECT_EQ(SendToArea(dialog, area, code::bCAS), 1);
  EXPECT_EQ(host().CountCalls(entry::UserAreaSetMinSize), 0u);
  area.giveSize = true;
  EXPECT_EQ(SendToArea(dialog, area, code::bCAS), 1);
  const auto set = host().CallsTo(entry::UserAreaSetMinSize);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(set[0].Int(1), 64);
  EXPECT_EQ(set[0].Int(2), 32);
}

TEST_F(UserAreaTest, AttachingAgainReleasesTheFirstArea) {
  GeDialog dialog;
  {
    Area area;
    dialog.AttachUserArea(area, ElementRef{300}, 0);
    void* first = area.AreaHandle();
    dialog.AttachUserArea(area, ElementRef{301}, 0);
    EXPECT_EQ(windows().FindArea(first), nullptr);
    EXPECT_EQ(windows().LiveUserAreas(), 1u);
  }
  EXPECT_EQ(windows().LiveUserAreas(), 0u);  // the destructor released it
}

TEST_F(UserAreaTest, HostThatRefusesTheArea) {
  GeDialog dialog;
  Area area;
  windows().RefuseUserAreas(true);
  EXPECT_FALSE(dialog.AttachUserArea(area, ElementRef{300}, USERAREA_TABSTOP));
  EXPECT_EQ(area.AreaHandle(), nullptr);
  EXPECT_EQ(area.Dialog(), &dialog);  // kept, though no area came
  area.Redraw(true);
  EXPECT_EQ(host().CountCalls(entry::DialogRedrawArea), 0u);
}

TEST_F(UserAreaTest, Redraw) {
  GeDialog dialog;
  Area area;
  area.Redraw(true);  // not attached: nothing
  EXPECT_EQ(host().CountCalls(entry::DialogRedrawArea), 0u);
  dialog.AttachUserArea(area, ElementRef{300}, 0);
  area.Redraw(true);
  const auto redraw = host().CallsTo(entry::DialogRedrawArea);
  ASSERT_EQ(redraw.size(), 1u);
  EXPECT_EQ(redraw[0].Int(1), 300);
  area.Redraw(false);
  const auto message = host().CallsTo(entry::SendElementMessage);
  ASSERT_EQ(message.size(), 1u);
  EXPECT_EQ(message[0].Int(2), 300);
  EXPECT_EQ(windows().LiveContainers(), 0u);
}

// The host calls a custom GUI's twelve further operations by their slots after
// those of the dialog; those the plug-in never overrides answer their defaults.
TEST_F(UserAreaTest, CustomGuiOperationsKeepTheirSlotsAndDefaults) {
  const std::uintptr_t after = VirtualOffset(&GeDialog::HandleMessage) + 8;
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation9), after);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation10), after + 8);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation11), after + 16);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation12), after + 24);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation13), after + 32);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation14), after + 40);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation15), after + 48);
  EXPECT_EQ(VirtualOffset(&iCustomGui::CustomOperation16), after + 56);
  EXPECT_EQ(VirtualOffset(&iCustomGui::SupportsLayoutMode), after + 64);
  EXPECT_EQ(VirtualOffset(&iCustomGui::OnLayoutModeChanged), after + 72);
  EXPECT_EQ(VirtualOffset(&iCustomGui::SetLayoutMode), after + 80);
  EXPECT_EQ(VirtualOffset(&iCustomGui::GetLayoutMode), after + 88);

  testhost::ContainerStorage settings{};
  windows().InitContainer(&settings, 0, nullptr);
  Gui gui(*reinterpret_cast<const GeContainer*>(&settings), nullptr);
  EXPECT_EQ(gui.CustomOperation9(), 0);
  EXPECT_EQ(gui.CustomOperation10(), 0);
  gui.CustomOperation11();
  EXPECT_FALSE(gui.CustomOperation12());
  EXPECT_FALSE(gui.CustomOperation13());
  EXPECT_FALSE(gui.CustomOperation14());
  EXPECT_FALSE(gui.CustomOperation15());
  windows().DestroyContainer(&settings);
}

TEST_F(UserAreaTest, CustomGuiSettingsAndLayoutMode) {
  testhost::ContainerStorage settings{};
  windows().InitContainer(&settings, 0, nullptr);
  windows().Container(&settings)->ints[code::laym] = 5;
  const unsigned char supports = 1;
  Gui gui(*reinterpret_cast<const GeContainer*>(&settings), &supports);
  EXPECT_EQ(gui.GetLayoutMode(), 0);  // 5 is no layout mode
  EXPECT_EQ(gui.DefaultHeight(), 10);
  EXPECT_NE(gui.WindowHandle(), nullptr);
  gui.SetLayoutMode(0);  // unchanged: no notification
  EXPECT_EQ(gui.changes, 0);
  gui.SetLayoutMode(2);
  EXPECT_EQ(gui.changes, 1);
  EXPECT_EQ(gui.GetLayoutMode(), 2);
  CustomGuiValue value = gui.CustomOperation16();
  EXPECT_EQ(value.id, -1);
  EXPECT_EQ(value.value.kind, testhost::kValueEmpty);
  EXPECT_EQ(host().CountCalls(entry::GeValueInitEmpty), 1u);
  GeValueDestroy(&value.value);

  windows().Container(&settings)->ints[code::laym] = 2;
  windows().Container(&settings)->ints[code::defh] = 24;
  Gui other(*reinterpret_cast<const GeContainer*>(&settings), nullptr);
  EXPECT_EQ(other.GetLayoutMode(), 2);
  EXPECT_EQ(other.DefaultHeight(), 24);
  EXPECT_FALSE(other.SupportsLayoutMode());
  other.SetLayoutMode(1);
  EXPECT_EQ(other.GetLayoutMode(), 2);
  windows().DestroyContainer(&settings);
}

TEST_F(UserAreaTest, CustomGuiMessages) {
  testhost::ContainerStorage settings{};
  windows().InitContainer(&settings, 0, nullptr);
  Gui gui(*reinterpret_cast<const GeContainer*>(&settings), nullptr);
  testhost::Window& window = *windows().Find(gui.WindowHandle());
  windows().Send(window, code::bINI);
  EXPECT_EQ(windows().Send(window, code::dsty), 1);
  EXPECT_EQ(gui.destroyed, 1);
  EXPECT_EQ(host().CountCalls(entry::DialogCustomGuiDestroyed), 1u);
  EXPECT_TRUE(gui.IsLayoutBuilt());  // the base handling is not run
  EXPECT_EQ(windows().Send(window, code::kCustomGuiMessage, {{code::meva, 30}}), 1);
  EXPECT_EQ(host().CountCalls(entry::DialogCustomGuiMessage), 1u);
  EXPECT_EQ(host().CountCalls(entry::DialogCustomGuiElementId), 1u);
  EXPECT_EQ(windows().Send(window, code::kCustomGuiMessage, {{code::meva, 1}}), 0);
  EXPECT_EQ(host().CountCalls(entry::DialogCustomGuiMessage), 1u);
  // A host whose custom-GUI entries answer nothing.
  windows().customGuiAnswers = false;
  EXPECT_EQ(windows().Send(window, code::kCustomGuiMessage, {{code::meva, 30}}), 0);
  EXPECT_EQ(host().CountCalls(entry::DialogCustomGuiMessage), 2u);
  windows().DestroyContainer(&settings);
  EXPECT_EQ(windows().LiveContainers(), 0u);
}
