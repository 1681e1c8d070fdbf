// Host path values and the composite path operations (host_path.h), against the
// test host's path entries (t_HostOS_Fn, fn_paths.cpp).
#include <gtest/gtest.h>

#include "host_path.h"
#include "host_pmain.h"
#include "host_resource.h"
#include "refcount.h"
#include "runtime_fixture.h"
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

// What the host refuses: each refusal names the entry and the argument.
class PathContractTest : public PathTest {
 protected:
  std::vector<std::string> Faults() {
    std::vector<std::string> faults = host_->Failures();
    host_->ClearFailures();
    return faults;
  }
  std::string Fn(int offset, const char* name) {
    return "t_HostOS_Fn offset " + std::to_string(offset) + " (" + name + "): argument ";
  }
};

TEST_F(PathContractTest, ConstructingEntriesTakeAnEmptySlot) {
  HostPath held("/a/b");
  PathSlot slot = *held.slot();
  PathInit(&slot);
  PathDirectory(&slot, held.slot());
  PathInit(nullptr);
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0].rfind(Fn(136, "PathInit") + "'slot' must be an empty slot (set to null), holds path value #", 0),
            0u)
      << faults[0];
  EXPECT_EQ(faults[1].rfind(Fn(64, "PathDirectory") + "'slot' must be an empty slot", 0), 0u) << faults[1];
  EXPECT_EQ(faults[2], Fn(136, "PathInit") + "'slot' must not be null");
  EXPECT_EQ(Text(held), "/a/b");  // nothing was constructed over it
}

TEST_F(PathContractTest, TheHostsPluginPathIsOnlyRead) {
  const PathSlot* hosts = reinterpret_cast<const PathSlot*>(host_->PluginPathSlot());
  HostPath copy(hosts);  // reading it is what the plug-in does
  EXPECT_EQ(Text(copy), host_->PluginFile());
  EXPECT_TRUE(Faults().empty());
  PathSlot* writable = const_cast<PathSlot*>(hosts);
  PathAssign(copy.slot(), writable);  // the destination first: the wrong way round
  PathAppend(writable, copy.slot());
  PathDestroy(writable);
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 3u);
  const std::string hostsPath = host_->Objects().Name(*hosts);
  ASSERT_NE(hostsPath.find("host's, from the plug-in's file path (action 1)"), std::string::npos) << hostsPath;
  EXPECT_EQ(faults[0], Fn(152, "PathAssign") + "'destination' holds " + hostsPath + ", which the plug-in may only read");
  EXPECT_EQ(faults[1], Fn(128, "PathAppend") + "'path' holds " + hostsPath + ", which the plug-in may only read");
  EXPECT_EQ(faults[2], "t_HostOS_Fn offset 144 (PathDestroy): the plug-in freed " + hostsPath +
                           ", which belongs to the host");
  EXPECT_EQ(host_->PathText(hosts), host_->PluginFile());
}

TEST_F(PathContractTest, EveryOtherSlotHoldsALivePath) {
  PathSlot slot = nullptr;
  PathInit(&slot);
  PathSlot stale = slot;
  PathDestroy(&slot);
  EXPECT_EQ(slot, nullptr);
  PathDestroy(&stale);
  PathSetText(&slot, "x");
  HostPath path("p");
  PathSetText(path.slot(), nullptr);
  EXPECT_FALSE(PathEquals(path.slot(), &stale));
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 4u);
  EXPECT_EQ(faults[0].rfind(Fn(144, "PathDestroy") + "'slot' holds path value #", 0), 0u) << faults[0];
  EXPECT_NE(faults[0].find(", destroyed already"), std::string::npos) << faults[0];
  EXPECT_EQ(faults[1], Fn(200, "PathSetText") + "'path' must hold a path value, holds null");
  EXPECT_EQ(faults[2], Fn(200, "PathSetText") + "'text' must not be null");
  EXPECT_EQ(faults[3].rfind(Fn(120, "PathEquals") + "'second' holds path value #", 0), 0u) << faults[3];
}

TEST_F(PathContractTest, StringsComeAsLiveStringSlots) {
  HostPath path("p");
  StringSlot none = nullptr;  // the empty string
  PathSetString(path.slot(), &none);
  EXPECT_EQ(Text(path), "");
  auto* freed = host_->Framework().NewString("gone", testhost::Owner::kPlugin, "the test");
  host_->Framework().DestroyObject(freed);
  StringSlot stale = reinterpret_cast<StringSlot>(freed);
  PathSetString(path.slot(), &stale);
  PathSetString(path.slot(), nullptr);
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].rfind(Fn(56, "PathSetString") + "'string' must hold a live string or null, holds string", 0), 0u)
      << faults[0];
  EXPECT_EQ(faults[1], Fn(56, "PathSetString") + "'string' must not be null");
}

// A host may leave a reference-counted object of its own in a destroyed slot; the
// holder drops it by the framework's counting convention.
class PathReferenceTest : public BoundRuntimeTest {};

TEST_F(PathReferenceTest, TheHolderDropsWhatTheHostLeftInTheSlot) {
  host().PathModel().LeaveReferencesInDestroyed(true);
  {
    HostPath folder("/a");
    HostPath joined(folder, HostPath("b"));
  }
  EXPECT_EQ(host().CountCalls(testhost::entry::PathDestroy), 3u);
  EXPECT_EQ(host().Objects().LivePluginObjects("path reference"), 0u);

  // Left in the slot, the reference is the plug-in's until it drops it.
  PathSlot slot = nullptr;
  PathInit(&slot);
  PathDestroy(&slot);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(host().Objects().LivePluginObjects("path reference"), 1u);
  core::ReleaseObject(slot);
  EXPECT_EQ(host().Objects().LivePluginObjects("path reference"), 0u);
}
