// User areas and custom GUIs without a host handle (host_userarea.h, t_HostOS_Cu):
// every operation answers its failure value and hands the host no null handle.
#include "missing_handle_fixture.h"

namespace entry = testhost::entry;

namespace {

class Gui : public iCustomGui {
 public:
  using iCustomGui::iCustomGui;
  void OnWindowDestroyed() override { ++destroyed; }
  int destroyed = 0;
};

}  // namespace

TEST_F(MissingHandleTest, UserAreaOfADialogWithoutWindowObject) {
  windows().RefuseWindows(true);
  GeDialog dialog;
  MinSizeArea area;
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
  MinSizeArea area;  // never attached
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
