// The general, bitmap and resource entries: what the host answers, what it keeps,
// and what it refuses (each refusal names the entry and the argument).
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "host_basebitmap.h"
#include "host_gui.h"
#include "host_jobs.h"
#include "host_resource.h"
#include "host_scene.h"
#include "runtime_fixture.h"

namespace fs = std::filesystem;

class GeneralTableTest : public BoundRuntimeTest {
 protected:
  std::vector<std::string> Faults() {
    std::vector<std::string> faults = host().Failures();
    host().ClearFailures();
    return faults;
  }
  testhost::Application& application() { return host().ApplicationModel(); }
  static std::string Ge(int offset, const char* name) {
    return "t_HostOS_Ge offset " + std::to_string(offset) + " (" + name + "): argument ";
  }
};

TEST_F(GeneralTableTest, MessageBoxesShowALiveStringWithTheToolsStyle) {
  const core::String about("About Statlume");
  EXPECT_EQ(ShowMessageBox(about.Slot(), GEMB_ICONEXCLAMATION), 1);
  const core::String empty;
  ShowMessageBox(empty.Slot(), GEMB_ICONEXCLAMATION);  // the empty string is a null slot
  ShowMessageBox(nullptr, 16);
  EXPECT_EQ(application().messageBoxes,
            (std::vector<std::pair<std::string, std::int32_t>>{{"About Statlume", 48}, {"", 48}, {"", 16}}));
  EXPECT_EQ(Faults(), (std::vector<std::string>{Ge(120, "ShowMessageBox") + "'text' must not be null",
                                                Ge(120, "ShowMessageBox") + "'style' must be 48, was 16"}));
}

TEST_F(GeneralTableTest, FilesAndTheApplicationFolderAreLivePaths) {
  const HostPath manual("/plugins/statlume/Statlume.pdf");
  EXPECT_TRUE(OpenFileWithSystem(manual.slot()));
  application().opensFiles = false;
  EXPECT_FALSE(OpenFileWithSystem(manual.slot()));
  EXPECT_EQ(application().openedFiles, (std::vector<std::string>(2, "/plugins/statlume/Statlume.pdf")));
  PathSlot none = nullptr;
  EXPECT_FALSE(OpenFileWithSystem(&none));

  // The folder is constructed into the caller's slot and is the caller's.
  {
    const HostPath folder{HostPath::ApplicationFolderTag{}};
    EXPECT_EQ(host().PathText(folder.slot()), "/opt/hostapp");
    EXPECT_TRUE(host().Objects().IsPluginOwned(*folder.slot()));
    PathSlot taken = *folder.slot();
    ApplicationFolder(&taken);
  }
  EXPECT_EQ(host().Objects().LivePluginObjects("path value"), 1u);  // the manual's path alone
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0], Ge(56, "OpenFileWithSystem") + "'path' must hold a path value, holds null");
  EXPECT_EQ(faults[1].rfind(Ge(64, "ApplicationFolder") + "'slot' must be an empty slot (set to null), holds path", 0),
            0u)
      << faults[1];
}

TEST_F(GeneralTableTest, DialogCallsCarryTheirFixedArguments) {
  SetHostState(3);
  SetHostState(2);
  SetHostState(1);
  std::thread([] { SetHostState(3); }).join();
  HostInteraction(1, 1, 1);
  HostInteraction(1, 0, 1);
  HostRangeMessage(6, 0.0, 10.0, 5);
  HostRangeMessage(9, 0.0, 10.0, 4);
  EXPECT_EQ(application().hostStates, (std::vector<std::int32_t>{3, 2, 1, 3}));
  EXPECT_EQ(application().interactions, 2);
  ASSERT_EQ(application().rangeMessages.size(), 2u);
  EXPECT_EQ(application().rangeMessages[0].y, 10.0);
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          Ge(80, "HostState") + "'state' must be 3 (begin) or 2 (end), was 1",
                          Ge(80, "HostState") + "'state' must be set on the main thread",
                          Ge(184, "HostInteraction") + "'second' must be 1, was 0",
                          Ge(272, "RangeMessage") + "'type' must be a CHECKVALUERANGE value (0 to 8), was 9",
                          Ge(272, "RangeMessage") + "'format' must be a CHECKVALUEFORMAT value (0, 1, 2, 3 or 5), was 4"}));
}

TEST_F(GeneralTableTest, BitmapsAreThePluginsFromAllocToFree) {
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
TEST_F(GeneralTableTest, AValueHandedToTheHostIsDestroyedBeforeTheCallReturns) {
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

class ResourceEntryTest : public GeneralTableTest {
 protected:
  void SetUp() override {
    GeneralTableTest::SetUp();
    char pattern[] = "/tmp/statlume-res-XXXXXX";
    folder_ = mkdtemp(pattern);
    std::ofstream(folder_ / "strings.res") << "# test strings\n10000=Statlume\n10001=Two\\nlines\n";
  }
  void TearDown() override {
    fs::remove_all(folder_);
    GeneralTableTest::TearDown();
  }
  std::string Text(const core::String* string) { return string != nullptr ? kernel().StringText(string->Object()) : "?"; }
  fs::path folder_;
};

TEST_F(ResourceEntryTest, FoldersAreThePluginsTheirStringsTheHosts) {
  const HostPath path(folder_.c_str());
  ResourceObject* resources = ResourceOpen(path.slot());
  ASSERT_NE(resources, nullptr);
  EXPECT_TRUE(host().Objects().IsPluginOwned(resources));
  const core::String* name = ResourceGetString(resources, 10000);
  EXPECT_EQ(Text(name), "Statlume");
  EXPECT_FALSE(host().Objects().IsPluginOwned(name->Object()));
  EXPECT_EQ(Text(ResourceGetString(resources, 10001)), "Two\nlines");
  EXPECT_EQ(ResourceGetString(resources, 10002), HostEmptyString());  // an id the folder lacks
  host().ResourceModel().nullStrings.insert(10000);
  EXPECT_EQ(ResourceGetString(resources, 10000), nullptr);  // a host may answer null

  ResourceClose(resources, 0);
  ResourceGetString(resources, 10000);
  ResourceClose(resources, 1);
  EXPECT_EQ(host().ResourceModel().closeFlags, (std::vector<int>{0, 1}));
  const std::string lr = "t_HostOS_Lr offset ";
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0], lr + "48 (ResourceClose): argument 'flag' must be 1, was 0");
  EXPECT_EQ(faults[1].rfind(lr + "16 (ResourceGetString): argument 'folder' is resource folder #", 0), 0u) << faults[1];
  EXPECT_NE(faults[1].find(", closed already"), std::string::npos) << faults[1];
  EXPECT_EQ(faults[2].rfind(lr + "48 (ResourceClose): the plug-in released resource folder #", 0), 0u) << faults[2];
  EXPECT_EQ(host().ResourceModel().OpenFolders(), 0u);
}

TEST_F(ResourceEntryTest, OnlyAFolderPathOpensAFolder) {
  PathSlot none = nullptr;
  EXPECT_EQ(ResourceOpen(&none), nullptr);
  const HostPath missing("/no/such/res");
  EXPECT_EQ(ResourceOpen(missing.slot()), nullptr);  // a folder the host cannot read
  EXPECT_EQ(host().ResourceModel().openAttempts, std::vector<std::string>{"/no/such/res"});
  EXPECT_EQ(Faults(), std::vector<std::string>{"t_HostOS_Lr offset 0 (ResourceOpen): argument 'path' must hold a path "
                                               "value, holds null"});
}
