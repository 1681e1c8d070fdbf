// Configuration variables and the spin-wait back-off.
#include <vector>

#include "configuration.h"
#include "debugglobals.h"
#include "runtime_fixture.h"

using ConfigurationTest = BoundRuntimeTest;

TEST_F(ConfigurationTest, VariablesAreHandedToTheHostAtStart) {
  std::vector<std::string> names;
  for (const testhost::ConfigurationVariable& variable : kernel().Configuration()) names.push_back(variable.name);
  EXPECT_EQ(names, (std::vector<std::string>{"g_trackSpinlocks", "g_trackCpuYield", "g_inCrashhandler",
                                             "g_enableDebugBreak"}));
  const testhost::ConfigurationVariable& debugBreak = kernel().Configuration().back();
  EXPECT_EQ(debugBreak.type, 1);
  EXPECT_EQ(debugBreak.help, "enable debug breaks (when debugger is attached)");
  EXPECT_EQ(debugBreak.storage, &g_enableDebugBreak);
  EXPECT_EQ(g_enableDebugBreak, 1);
  EXPECT_EQ(kernel().Configuration()[2].type, 5);
  EXPECT_EQ(kernel().Configuration()[1].help,
            "Track usage of Spinlocks (either for performance checks or deadlock detection)");
  // The host may change a value.
  EXPECT_TRUE(kernel().SetConfiguration("g_enableDebugBreak", 0));
  EXPECT_EQ(g_enableDebugBreak, 0);
}

TEST_F(ConfigurationTest, ModuleFlagSkipsTheRegistration) {
  const std::size_t before = kernel().Configuration().size();
  g_framework.modules->head.flags |= core::kFlagSkipConfiguration;
  EXPECT_EQ(core::ConfigurationStart(), nullptr);
  g_framework.modules->head.flags &= ~std::uint32_t{core::kFlagSkipConfiguration};
  EXPECT_EQ(kernel().Configuration().size(), before);
}

TEST(ConfigurationTable, The257thVariableKeepsItsDefaultOutsideTheTable) {
  static std::uint8_t storage[300];
  for (int i = core::g_configurationCount; i < core::kConfigurationCapacity; ++i)
    storage[i] = core::RegisterConfigurationVariable<std::uint8_t>("v", &storage[i], 1, core::kConfigurationBool, "");
  ASSERT_EQ(core::g_configurationCount, 256);
  std::uint8_t extra = 0;
  EXPECT_EQ(core::RegisterConfigurationVariable<std::uint8_t>("late", &extra, 7, core::kConfigurationBool, ""), 7);
  EXPECT_EQ(extra, 7);
  EXPECT_EQ(core::g_configurationCount, 256);
}

TEST_F(ConfigurationTest, EndReleasesReferenceValues) {
  static const void* value = nullptr;
  // A framework value (not a string): objects go back through the system interface.
  value = kernel().NewDictionary({}, testhost::Owner::kPlugin, "the test");
  core::RegisterConfigurationVariable<const void*>("g_value", &value, value, core::kConfigurationValue, "");
  const void* held = value;
  core::ConfigurationEnd();
  EXPECT_EQ(value, nullptr);
  EXPECT_FALSE(kernel().IsLiveObject(held));
  EXPECT_EQ(g_enableDebugBreak, 1);  // booleans are left alone
}

namespace {
std::vector<std::int32_t> g_delegateCounts;
void RecordingDelegate(core::CpuYieldState* state, void*) { g_delegateCounts.push_back(state->count); }
}  // namespace

TEST(CpuYield, DelayDoublesUpTo2048ThenStartsOver) {
  core::CpuYieldState state{0, 1024, nullptr};
  core::CpuYield(state);
  EXPECT_EQ(state.count, 1024);
  EXPECT_EQ(state.delay, 2048);
  core::CpuYield(state);
  EXPECT_EQ(state.count, 3072);
  EXPECT_EQ(state.delay, 16);
  core::CpuYieldState small{0, 7, nullptr};  // fewer than eight: no pause at all
  core::CpuYield(small);
  EXPECT_EQ(small.count, 7);
  EXPECT_EQ(small.delay, 14);
}

TEST(CpuYield, HandsOverToTheDelegateAfter262144Units) {
  g_delegateCounts.clear();
  g_CpuYieldDelegate = &RecordingDelegate;
  core::CpuYieldState state{262144, 16, nullptr};
  core::CpuYield(state);  // exactly 262144 still spins
  EXPECT_EQ(state.count, 262160);
  EXPECT_TRUE(g_delegateCounts.empty());
  core::CpuYieldState over{262145, 16, nullptr};
  core::CpuYield(over);
  EXPECT_EQ(over.count, 262145);
  EXPECT_EQ(over.delay, 16);
  EXPECT_EQ(g_delegateCounts, std::vector<std::int32_t>{262145});
}

TEST(CpuYield, TrackingReportsTheStartAndTheEndOfAWait) {
  g_delegateCounts.clear();
  g_CpuYieldDelegate = &RecordingDelegate;
  g_trackCpuYield = 1;
  core::CpuYieldState state{0, 16, nullptr};
  core::CpuYield(state);
  core::CpuYield(state);
  core::EndCpuYieldWait(state);
  EXPECT_EQ(g_delegateCounts, (std::vector<std::int32_t>{0, 2147483647}));
  core::CpuYieldState unused{0, 16, nullptr};
  core::EndCpuYieldWait(unused);  // no steps, no report
  EXPECT_EQ(g_delegateCounts.size(), 2u);
  g_trackCpuYield = 0;
}
