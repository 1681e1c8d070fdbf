// The resource folder entries (host_resource.h, t_HostOS_Lr, served by the test
// host's lr_resources.cpp): folders are the plug-in's, their strings the host's, and
// only a folder path opens a folder. Each refusal names the entry and the argument.
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "host_path.h"
#include "host_resource.h"
#include "runtime_fixture.h"

namespace fs = std::filesystem;

class ResourceEntryTest : public BoundRuntimeTest {
 protected:
  void SetUp() override {
    BoundRuntimeTest::SetUp();
    char pattern[] = "/tmp/statlume-res-XXXXXX";
    folder_ = mkdtemp(pattern);
    std::ofstream(folder_ / "strings.res") << "# test strings\n10000=Statlume\n10001=Two\\nlines\n";
  }
  void TearDown() override {
    fs::remove_all(folder_);
    BoundRuntimeTest::TearDown();
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

// A line the host cannot read is skipped and the others still count; every string
// asked for is recorded with its folder, as the validator reads them.
TEST_F(ResourceEntryTest, UnreadableLinesAreSkippedAndEachAskRecorded) {
  std::ofstream(folder_ / "strings.res") << "10000=Statlume\nten=10\n10001=After\n";
  const HostPath path(folder_.c_str());
  ResourceObject* resources = ResourceOpen(path.slot());
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(Text(ResourceGetString(resources, 10001)), "After");
  EXPECT_EQ(ResourceGetString(resources, 10009), HostEmptyString());
  ResourceClose(resources, 1);
  EXPECT_EQ(host().ResourceModel().stringsAsked,
            (std::vector<std::pair<std::string, std::int32_t>>{{folder_.string(), 10001}, {folder_.string(), 10009}}));
  EXPECT_TRUE(Faults().empty());
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
