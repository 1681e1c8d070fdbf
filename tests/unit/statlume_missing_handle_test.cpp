// The statistics dialog without a document (Statlume.h): a recount never hands the
// host a null document and shows zeros.
#include "missing_handle_fixture.h"
#include "Statlume.h"

namespace entry = testhost::entry;

TEST_F(MissingHandleTest, StatlumeDialogWithoutDocument) {
  StatlumeDialog dialog;  // the scene has no document
  ASSERT_TRUE(dialog.OpenWindow(DLG_TYPE::ASYNC, ID_STATLUME_COMMAND, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  testhost::Window& window = *windows().Find(dialog.WindowHandle());
  windows().Send(window, testhost::code::MciM, {{testhost::code::MciI, testhost::code::kSceneChanged}});
  windows().Send(window, testhost::code::bACT, {{testhost::code::meid, testhost::tool::kIncludeChildren}});
  EXPECT_TRUE(NoNullHandleTo(entry::ActiveObject));
  EXPECT_EQ(window.elements[IDC_POLYGONS_CURRENT].text, "0");
}
