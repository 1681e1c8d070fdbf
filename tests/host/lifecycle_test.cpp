// The entry point's actions and plug-in messages, driven as the host drives them.
#include "fixture.h"

using testhost::Table;
namespace entry = testhost::entry;

using LifecycleTest = PluginTest;

TEST_F(LifecycleTest, AcceptsHostsFromVersion2024000) {
  host().SetVersion(2024000);
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), "");
}

TEST_F(LifecycleTest, RejectsOlderHostsAndMissingPluginPath) {
  host().SetVersion(2023999);
  EXPECT_EQ(host().Init(), -3);
  // The counter stays at 1: a further action 1 is nested and answers 1 unexamined.
  EXPECT_EQ(host().PluginMain(1, nullptr, nullptr, nullptr), 1);
}

TEST_F(LifecycleTest, NegativeVersionIsRejected) {
  host().SetVersion(-1);
  EXPECT_EQ(host().Init(), -3);
}

TEST_F(LifecycleTest, NullPluginPathIsRejected) {
  EXPECT_EQ(host().PluginMain(1, &host().Record(), nullptr, nullptr), -3);
}

TEST_F(LifecycleTest, NullRecordIsRejectedWithoutReadingIt) {
  EXPECT_EQ(host().PluginMain(1, nullptr, nullptr, nullptr), -3);
}

TEST_F(LifecycleTest, SecondInitLooksAtNothing) {
  ASSERT_EQ(host().Init(), 1);
  host().ClearCalls();
  // Even a record that is missing every table is not examined again.
  for (int t = 0; t < testhost::kTableCount; ++t) host().RemoveTable(static_cast<Table>(t));
  EXPECT_EQ(host().PluginMain(1, &host().Record(), nullptr, nullptr), 1);
  EXPECT_EQ(Console(), "");
  EXPECT_TRUE(host().Calls().empty());
}

TEST_F(LifecycleTest, FixedAnswersOfTheOtherActions) {
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().PluginMain(4), 5);
  for (int action : {0, 5, 7, 8, 100, -1, -3, INT32_MIN, INT32_MAX})
    EXPECT_EQ(host().PluginMain(action), -1) << "action " << action;
}

TEST_F(LifecycleTest, PluginMessages) {
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(0), 1);
  EXPECT_EQ(host().Message(2), -1);
  EXPECT_EQ(host().Message(-7), -1);
  // The id is the low 32 bits of p1: 0x1'0000'0000 is message 0.
  EXPECT_EQ(host().PluginMain(6, reinterpret_cast<void*>(std::uintptr_t{1} << 32)), 1);
}

TEST_F(LifecycleTest, StartRegistersTheCommand) {
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Start(), 1);
  EXPECT_NE(host().CommandModel().ById(1040438), nullptr);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(LifecycleTest, EndWithoutInitReleasesNothing) {
  host().ClearCalls();  // what the kernel's start of the module called
  EXPECT_EQ(host().End(), 1);
  EXPECT_TRUE(host().Calls().empty());
  // The count went to -1; the next action 1 brings it to 0 and binds nothing.
  host().RemoveTable(Table::FL);
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), "");
  // Only the one after that is the first initialisation.
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), MissingTableLine());
}

TEST_F(LifecycleTest, NestedInitAndEndBindOnlyOnTheOuterPair) {
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().End(), 1);
  // Still inside the outer pair: a further action 1 does not bind.
  host().RemoveTable(Table::Ge);
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), "");
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().End(), 1);
  // The count is back at 0: the next action 1 binds again and sees the missing table.
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), MissingTableLine());
}

TEST_F(LifecycleTest, KeepsACopyOfThePluginPathUntilTheLastEnd) {
  ASSERT_EQ(host().Init(), 1);
  const auto init = host().CallsTo(entry::PathInit);
  const auto assign = host().CallsTo(entry::PathAssign);
  ASSERT_EQ(init.size(), 1u);
  ASSERT_EQ(assign.size(), 1u);
  // The host's path is the source, the new slot the destination.
  EXPECT_EQ(host().PathText(assign[0].Ptr<void>(0)), host().PluginFile());
  EXPECT_EQ(assign[0].Ptr<void>(1), init[0].Ptr<void>(0));
  EXPECT_EQ(host().PathText(init[0].Ptr<void>(0)), host().PluginFile());
  EXPECT_EQ(host().LivePaths(), 2u);

  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().CountCalls(entry::PathDestroy), 0u);
  EXPECT_EQ(host().LivePaths(), 2u);
  EXPECT_EQ(host().End(), 1);
  ASSERT_EQ(host().CountCalls(entry::PathDestroy), 1u);
  EXPECT_EQ(host().LivePaths(), 1u);
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}

TEST_F(LifecycleTest, WithoutMemoryThePluginRunsWithoutAPathOfItsOwn) {
  // The allocation the first action makes, after those of the load itself.
  host().Framework().FailAllocation(host().Framework().AllocationCount() + 1);
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(host().CountCalls(entry::PathInit), 0u);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().CountCalls(entry::PathDestroy), 0u);
  EXPECT_EQ(Console(), "");
}

// Unloading as the host does it: the command (and with it the dialog's window
// object) goes first, then the last end action releases the resource folder.
TEST_F(LifecycleTest, UnloadDestroysTheCommandBeforeTheLastEnd) {
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  ASSERT_EQ(host().Start(), 1);
  host().ClearCalls();
  host().Unload();
  std::vector<std::string> order;
  for (const testhost::Call& call : host().Calls())
    if (!call.IsMethod() && (call.entry == testhost::entry::DialogRelease || call.entry == testhost::entry::ResourceClose))
      order.push_back(call.entry.name);
  EXPECT_EQ(order, (std::vector<std::string>{"DialogRelease", "ResourceClose"}));
  EXPECT_EQ(host().LifecycleCount(), 0);
}
