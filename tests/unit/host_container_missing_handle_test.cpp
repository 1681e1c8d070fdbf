// Containers the host could not make (host_container.h, t_HostOS_Bc): storage the
// host did not construct is never handed to a host entry.
#include "missing_handle_fixture.h"

namespace entry = testhost::entry;

TEST_F(MissingHandleTest, ContainerTheHostCouldNotMakeIsNeverHandedOver) {
  GeDialog dialog;
  MinSizeArea area;
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
