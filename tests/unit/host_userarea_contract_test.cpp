// The strict host's user-area entries (host_userarea.h, t_HostOS_Cu, served by the
// test host's cu_userareas.cpp): a user area is the plug-in's until it is released,
// once.
#include "window_contract_fixture.h"

namespace {
class Area : public GeUserArea {};
}  // namespace

TEST_F(WindowContractTest, UserAreasAreThePluginsUntilReleasedOnce) {
  GeDialog dialog;
  {
    Area area;
    dialog.AttachUserArea(area, ElementRef{300}, 0x10);
    EXPECT_TRUE(OneFault({"(DialogCreateUserArea)", "argument 'flags'", "USERAREAFLAGS"}));
    UserAreaHandle handle = area.AreaHandle();
    UserAreaRelease(handle);
    UserAreaWidth(handle);
    EXPECT_TRUE(OneFault({"(UserAreaWidth)", "argument 'user area'", "user area #", "released already"}));
  }  // the area's destructor releases the handle a second time
  EXPECT_TRUE(OneFault({"(UserAreaRelease)", "user area #", "twice"}));
  UserAreaRelease(DialogCreateUserArea(dialog.WindowHandle(), 300, nullptr, 0, nullptr));
  EXPECT_TRUE(OneFault({"(DialogCreateUserArea)", "argument 'user data'", "must not be null"}));
}
