// The bitmap entries (host_basebitmap.h, t_HostOS_Bm, served by the test host's
// bm_bitmaps.cpp): bitmaps are the plug-in's from allocation to release, and a value
// handed to the host is released before the call returns. Each refusal names the
// entry and the argument.
#include "host_basebitmap.h"
#include "host_path.h"
#include "runtime_fixture.h"

using BitmapEntryTest = BoundRuntimeTest;

TEST_F(BitmapEntryTest, BitmapsAreThePluginsFromAllocToFree) {
  BaseBitmap* bitmap = BitmapAlloc();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(host().Objects().IsPluginOwned(bitmap));
  const HostPath missing("/no/such/statlume.tif");
  EXPECT_EQ(BitmapInitFromFile(bitmap, missing.slot(), -1, nullptr), 0);
  int settings = 0;
  BitmapInitFromFile(bitmap, missing.slot(), 0, &settings);
  GeValue scale{kGeValueInt32, 0, 1};
  BitmapSetData(bitmap, 101, &scale);
  ReleaseGeValue(scale);
  const std::string bm = "t_HostOS_Bm offset ";
  EXPECT_EQ(Faults(), (std::vector<std::string>{bm + "56 (BitmapInitFromFile): argument 'frame' must be -1, was 0",
                                                bm + "56 (BitmapInitFromFile): argument 'fourth' must be null",
                                                bm + "384 (BitmapSetData): argument 'id' must be 100, was 101",
                                                bm + "384 (BitmapSetData): argument 'value.kind' must be 19, was 15"}));

  BitmapFree(bitmap);
  EXPECT_EQ(host().BitmapModel().Live(), 0u);
  BitmapFree(bitmap);
  BitmapInitFromFile(bitmap, missing.slot(), -1, nullptr);
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].rfind(bm + "8 (BitmapFree): the plug-in released bitmap #", 0), 0u) << faults[0];
  EXPECT_NE(faults[0].find(" twice (first through " + bm + "8 (BitmapFree))"), std::string::npos) << faults[0];
  EXPECT_EQ(faults[1].rfind(bm + "56 (BitmapInitFromFile): argument 'bitmap' is bitmap #", 0), 0u) << faults[1];
  EXPECT_NE(faults[1].find(", freed already"), std::string::npos) << faults[1];
}

// A typed value the plug-in hands to the host (the scale factor of a bitmap) is
// destroyed through the host before the plug-in's call returns, as a value the host
// fills is.
TEST_F(BitmapEntryTest, AValueHandedToTheHostIsDestroyedBeforeTheCallReturns) {
  BaseBitmap* bitmap = BitmapAlloc();
  GeValue kept{kGeValueFloat64, 0, 0};
  host().IntoPlugin([&] {
    BitmapSetData(bitmap, 100, &kept);
    return 0;
  });
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].rfind("the plug-in still held typed value", 0), 0u) << faults[0];
  EXPECT_NE(faults[0].find("t_HostOS_Gd offset 0 (GeValueDestroy)"), std::string::npos) << faults[0];
  ReleaseGeValue(kept);

  host().IntoPlugin([&] {
    GeValue scale{kGeValueFloat64, 0, 0};
    BitmapSetData(bitmap, 100, &scale);
    ReleaseGeValue(scale);
    return 0;
  });
  EXPECT_EQ(Faults(), std::vector<std::string>{});
  BitmapFree(bitmap);
}
