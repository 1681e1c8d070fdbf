// A dialog without a host window object (host_gui.h, t_HostOS_Cd): every operation
// answers its failure value and hands the host no null handle.
#include "missing_handle_fixture.h"
#include "Statlume.h"

namespace entry = testhost::entry;

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
