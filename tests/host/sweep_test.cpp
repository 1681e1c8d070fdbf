// Sweeps over one full session: every published interface and declaration taken
// away in turn, every method the plug-in binds left unbound or wrongly hashed in
// turn, the kernel's initializer withheld or failing, framework methods answering
// errors, the framework allocator failing at every allocation of the session, and
// every table entry the plug-in calls answering its failure value in turn. Each
// faulty session must end without a host fault (nothing freed that the host owns,
// nothing leaked, no broken contract) and a clean session afterwards, in the same
// host, must work.
#include <gtest/gtest.h>

#include <cstdio>

#include "testhost/full_session.h"
#include "testhost/sweeps.h"

using namespace testhost;

namespace {

class SweepTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SweepTest, EveryFaultEndsCleanAndTheNextSessionWorks) {
  const std::vector<SessionFault> faults = SweepFaults(GetParam(), Host::DefaultPluginFile());
  ASSERT_FALSE(faults.empty());
  for (const SessionFault& fault : faults)
    for (const std::string& found : RunFaultThenClean(Host::DefaultPluginFile(), fault)) ADD_FAILURE() << found;
  std::printf("[ sweep    ] %s: %zu cases\n", GetParam().c_str(), faults.size());
}

INSTANTIATE_TEST_SUITE_P(Session, SweepTest, ::testing::ValuesIn(SweepFamilies()),
                         [](const ::testing::TestParamInfo<std::string>& sweep) { return sweep.param; });

// The clean session itself: what the sweeps compare against.
TEST(SessionTest, CleanSessionShowsTheCountsAndLeavesNothing) {
  Host host(Host::DefaultPluginFile(), Host::Mode::kTablesOnly);
  host.Load();
  const SessionScene scene = BuildSessionScene(host.SceneModel());
  const SessionRecord record = RunSession(host, scene);
  EXPECT_EQ(record.init, 1);
  EXPECT_EQ(record.message, 1);
  EXPECT_EQ(record.start, 1);
  EXPECT_TRUE(record.registered);
  EXPECT_TRUE(record.opened);
  EXPECT_EQ(record.firstDisplay, ExpectedFirstDisplay());
  for (const std::string& failure : host.Failures()) ADD_FAILURE() << failure;
}

// A planted fault is reported with where it was found: the sweeps cannot pass by
// losing what the host saw.
TEST(SessionTest, FaultsFoundInASweepAreReported) {
  const SessionFault leak{"an extra allocation the host never sees freed",
                          [](Host& h) { h.Framework().Allocate(16, nullptr, "a test"); }, [](Host&) {}};
  const std::vector<std::string> found = RunFaultThenClean(Host::DefaultPluginFile(), leak);
  ASSERT_FALSE(found.empty());
  EXPECT_NE(found.front().find("with an extra allocation"), std::string::npos) << found.front();
}

}  // namespace
