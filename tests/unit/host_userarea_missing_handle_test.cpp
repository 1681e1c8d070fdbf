// Dialogs, user areas and custom GUIs without a host handle, containers the host
// could not make, and the statistics dialog without a document: every operation
// answers its failure value and hands the host no null handle and no unmade storage.
#include <map>
#include <utility>

#include "host_userarea.h"
#include "Statlume.h"
#include "runtime_fixture.h"

namespace entry = testhost::entry;

namespace {

class Area : public GeUserArea {
 public:
  bool QueryMinSize(std::int32_t& width, std::int32_t& height) override {
    width = 64;
    height = 32;
    return true;
  }
  void OnResized(std::int32_t width, std::int32_t height) override { resized = {width, height}; }
  std::pair<std::int32_t, std::int32_t> resized{-1, -1};
};

class Gui : public iCustomGui {
 public:
  using iCustomGui::iCustomGui;
  void OnWindowDestroyed() override { ++destroyed; }
  int destroyed = 0;
};

}  // namespace

class MissingHandleTest : public BoundRuntimeTest {
 protected:
  void TearDown() override {
    for (std::size_t i = 0; i < used_; ++i) windows().DestroyContainer(&containers_[i]);
    BoundRuntimeTest::TearDown();
  }
  // No call of `id` passed a null pointer as argument `at` (the handle).
  ::testing::AssertionResult NoNullHandleTo(testhost::EntryId id, std::size_t at = 0) {
    for (const testhost::Call& call : host().CallsTo(id))
      if (call.Ptr<void>(at) == nullptr)
        return ::testing::AssertionFailure() << testhost::Describe(id) << " got a null handle";
    return ::testing::AssertionSuccess();
  }
  // A container the host made, with Int32 values.
  const GeContainer& Container(std::int32_t id, const std::map<std::int32_t, std::int64_t>& ints = {}) {
    testhost::ContainerStorage& storage = containers_[used_++];
    windows().InitContainer(&storage, id, nullptr);
    windows().Container(&storage)->ints = ints;
    return *reinterpret_cast<const GeContainer*>(&storage);
  }
  GeContainer& Result() { return const_cast<GeContainer&>(Container(-1)); }

 private:
  testhost::ContainerStorage containers_[16]{};
  std::size_t used_ = 0;
};

TEST_F(MissingHandleTest, DialogWithoutWindowObject) {
  windows().RefuseWindows(true);
  GeDialog dialog;
  ASSERT_EQ(dialog.WindowHandle(), nullptr);
  int token = 0;
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_FALSE(dialog.RestoreWindow(ID_STATLUME_COMMAND, 0, &token));
  EXPECT_FALSE(dialog.MenuClear());
  EXPECT_FALSE(dialog.MenuBeginSubmenu(core::String("Options")));
  EXPECT_FALSE(dialog.MenuAddItem(5001, core::String("Item")));
  EXPECT_FALSE(dialog.MenuEndSubmenu());
  EXPECT_FALSE(dialog.MenuCommit());
  EXPECT_FALSE(dialog.MenuSetItemState(5001, true, true));
  dialog.SetTimerInterval(100);
  EXPECT_TRUE(NoNullHandleTo(entry::ElementOperation));
  EXPECT_TRUE(NoNullHandleTo(entry::DialogRestore));
  EXPECT_TRUE(NoNullHandleTo(entry::DialogSetTimer));
}

TEST_F(MissingHandleTest, UserAreaOfADialogWithoutWindowObject) {
  windows().RefuseWindows(true);
  GeDialog dialog;
  Area area;
  EXPECT_FALSE(dialog.AttachUserArea(area, ElementRef{300}, 0));
  EXPECT_EQ(area.Dialog(), &dialog);
  EXPECT_EQ(area.AreaHandle(), nullptr);
  area.Redraw(true);
  area.Redraw(false);
  EXPECT_TRUE(NoNullHandleTo(entry::DialogCreateUserArea));
  EXPECT_TRUE(NoNullHandleTo(entry::DialogRedrawArea));
  EXPECT_TRUE(NoNullHandleTo(entry::SendElementMessage, 1));
  EXPECT_TRUE(NoNullHandleTo(entry::UserAreaElementId));
}

TEST_F(MissingHandleTest, UserAreaWithoutHostArea) {
  Area area;  // never attached
  EXPECT_EQ(area.HandleAreaMessage(Container(testhost::code::bCAS), Result()), 1);
  EXPECT_EQ(area.HandleAreaMessage(Container(testhost::code::bISI), Result()), 1);
  EXPECT_EQ(area.resized, std::make_pair(0, 0));
  EXPECT_EQ(area.HandleAreaMessage(Container(testhost::code::bDRA, {{1, 0}, {2, 0}, {3, 10}, {4, 10}}), Result()), 1);
  for (testhost::EntryId id : {entry::UserAreaSetMinSize, entry::UserAreaWidth, entry::UserAreaHeight,
                               entry::UserAreaSetPen, entry::UserAreaFillRect})
    EXPECT_TRUE(NoNullHandleTo(id));
}

TEST_F(MissingHandleTest, CustomGuiWithoutWindowObject) {
  windows().RefuseWindows(true);
  Gui gui(Container(0), nullptr);
  ASSERT_EQ(gui.WindowHandle(), nullptr);
  EXPECT_EQ(gui.HandleMessage(Container(testhost::code::kCustomGuiMessage, {{testhost::code::meva, 30}}), Result()), 0);
  EXPECT_EQ(gui.HandleMessage(Container(testhost::code::dsty), Result()), 1);
  EXPECT_EQ(gui.destroyed, 1);
  EXPECT_TRUE(NoNullHandleTo(entry::DialogCustomGuiElementId));
  EXPECT_TRUE(NoNullHandleTo(entry::DialogCustomGuiDestroyed));
  EXPECT_TRUE(NoNullHandleTo(entry::DialogCustomGuiMessage));
}

TEST_F(MissingHandleTest, ContainerTheHostCouldNotMakeIsNeverHandedOver) {
  GeDialog dialog;
  Area area;
  ASSERT_TRUE(dialog.AttachUserArea(area, ElementRef{300}, 0));
  const auto sendAll = [&] {
    EXPECT_FALSE(dialog.SetElementText(ElementRef{1001}, core::String("7"), 0, 0));
    area.Redraw(false);
  };
  // The container table unbound.
  void* const table = t_HostOS_Bc;
  t_HostOS_Bc = nullptr;
  sendAll();
  t_HostOS_Bc = table;
  // The table bound, but without its constructor.
  void* const init = static_cast<void**>(host().TablePointer(testhost::Table::Bc))[entry::ContainerInit.offset / 8];
  host().SetRawEntry(entry::ContainerInit, nullptr);
  sendAll();
  host().SetRawEntry(entry::ContainerInit, init);
  EXPECT_EQ(host().CountCalls(entry::SendElementMessage), 0u);
  EXPECT_EQ(host().CountCalls(entry::ContainerSetString), 0u);
}

TEST_F(MissingHandleTest, StatlumeDialogWithoutDocument) {
  StatlumeDialog dialog;  // the scene has no document
  ASSERT_TRUE(dialog.OpenWindow(DLG_TYPE::ASYNC, ID_STATLUME_COMMAND, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  testhost::Window& window = *windows().Find(dialog.WindowHandle());
  windows().Send(window, testhost::code::MciM, {{testhost::code::MciI, testhost::code::kSceneChanged}});
  windows().Send(window, testhost::code::bACT, {{testhost::code::meid, testhost::tool::kIncludeChildren}});
  EXPECT_TRUE(NoNullHandleTo(entry::ActiveObject));
  EXPECT_EQ(window.elements[IDC_POLYGONS_CURRENT].text, "0");
}
