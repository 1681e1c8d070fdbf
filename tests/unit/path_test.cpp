// Host path values and the composite path operations, against the test host's
// path entries.
#include <gtest/gtest.h>

#include "host_path.h"
#include "host_pmain.h"
#include "host_resource.h"
#include "testhost/host.h"

namespace entry = testhost::entry;

class PathTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(BindHostTables(reinterpret_cast<const HostOS*>(&host_->Record())), 2024000); }
  void TearDown() override {
    PluginFileStore = nullptr;
    // Only the host's own plug-in path may still be alive: nothing leaked.
    EXPECT_EQ(host_->LivePaths(), 1u);
    for (const std::string& failure : host_->Failures()) ADD_FAILURE() << failure;
  }
  std::string Text(const HostPath& path) { return host_->PathText(path.slot()); }

  std::unique_ptr<testhost::Host> host_ = testhost::Host::TablesOnly();
};

TEST_F(PathTest, JoinAppendsTheNameAsAFurtherComponent) {
  HostPath folder("/opt/host/plugins/statlume");
  HostPath name("Statlume.pdf");
  host_->ClearCalls();
  HostPath joined(folder, name);
  EXPECT_EQ(Text(joined), "/opt/host/plugins/statlume/Statlume.pdf");
  // A fresh slot, the folder copied in (source first), the name appended.
  const auto& calls = host_->Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].entry, entry::PathInit);
  EXPECT_EQ(calls[1].entry, entry::PathAssign);
  EXPECT_EQ(calls[1].Ptr<void>(0), folder.slot());
  EXPECT_EQ(calls[1].Ptr<void>(1), joined.slot());
  EXPECT_EQ(calls[2].entry, entry::PathAppend);
}

TEST_F(PathTest, JoinWithAnEmptyFolderGivesTheBareName) {
  HostPath folder;
  HostPath name("Statlume.pdf");
  HostPath joined(folder, name);
  EXPECT_EQ(Text(joined), "Statlume.pdf");
}

TEST_F(PathTest, CopyTakesTheSourceFirstAndLeavesItUnchanged) {
  HostPath source("/a/b/statlume.so");
  HostPath copy(source.slot());
  EXPECT_EQ(Text(copy), "/a/b/statlume.so");
  EXPECT_EQ(Text(source), "/a/b/statlume.so");
  EXPECT_TRUE(copy.Equals(source));
  HostPath other("/a/c");
  other.Assign(source);
  EXPECT_EQ(Text(other), "/a/b/statlume.so");
}

TEST_F(PathTest, PartsOfAPath) {
  HostPath file("/a/b/statlume.so");
  HostPath directory(HostPath::kDirectory, file);
  HostPath last(HostPath::kFilePart, file);
  EXPECT_EQ(Text(directory), "/a/b");
  EXPECT_EQ(Text(last), "statlume.so");
  last.ClearSuffix();
  EXPECT_EQ(Text(last), "statlume");
  EXPECT_TRUE(HostPath("/a/b/").Equals(HostPath("/a/./b/")));
  EXPECT_FALSE(directory.Equals(HostPath("/a/c")));
}

TEST_F(PathTest, PluginFolderIsTheDirectoryOfTheKeptPath) {
  EXPECT_EQ(Text(PluginFolder()), "");
  HostPath kept("/x/plugins/statlume/statlume.so");
  PluginFileStore = &kept;
  EXPECT_EQ(Text(PluginFolder()), "/x/plugins/statlume");
}

TEST_F(PathTest, MissingPathTableIsSafe) {
  host_->RemoveTable(testhost::Table::Fn);
  ASSERT_EQ(BindHostTables(reinterpret_cast<const HostOS*>(&host_->Record())), 2024000);
  host_->ClearCalls();
  {
    HostPath folder("/a");
    HostPath joined(folder, HostPath("b"));
    EXPECT_EQ(*joined.slot(), nullptr);
    EXPECT_FALSE(joined.Equals(folder));
  }
  EXPECT_TRUE(host_->Calls().empty());
}
