// Sweeps over one full session: every published interface and declaration taken
// away in turn, every method the plug-in binds left unbound in turn, the framework
// allocator failing at every allocation of the session, and every table entry the
// plug-in calls answering its failure value in turn. Each faulty session must end
// without a host fault (nothing freed that the host owns, nothing leaked, no broken
// contract) and a clean session afterwards, in the same host, must work.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>

#include "errorbase1.h"
#include "objectbase1.h"
#include "session.h"

using namespace testhost;

namespace {

struct Fault {
  std::string name;
  std::function<void(Host&)> inject;
  std::function<void(Host&)> heal;
};

// The interfaces the plug-in binds, with their published method lists.
struct PublishedInterface {
  const char* name;
  int methods;  // 0 for object-dispatch interfaces
};
const PublishedInterface kInterfaces[] = {
    {published::System::kName, published::System::kMethodCount},
    {published::Application::kName, published::Application::kMethodCount},
    {published::DataTypeLibrary::kName, published::DataTypeLibrary::kMethodCount},
    {published::Logger::kName, published::Logger::kMethodCount},
    {published::String::kName, published::String::kMethodCount},
    {published::StringConversion::kName, published::StringConversion::kMethodCount},
    {published::CString::kName, published::CString::kMethodCount},
    {published::ThreadServices::kName, published::ThreadServices::kMethodCount},
    {published::JobQueue::kName, published::JobQueue::kMethodCount},
    {published::DataDictionary::kName, published::DataDictionary::kMethodCount},
    {published::Error::kName, 0},
    {published::AggregatedError::kName, 0},
    {published::UnregisteredDataTypeError::kName, 0},
};

std::vector<std::string> PublishedDeclarations() {
  std::vector<std::string> ids = {published::decl::kDefaultLogger, published::decl::kUtf8Decoding,
                                  published::decl::kObjectClass, published::decl::kInt32Type};
  for (const char* prototype : published::errors::kPrototypes) ids.push_back(prototype);
  return ids;
}

void HealKernel(Host& host) { host.Framework().Heal(); }

// What a clean session shows and uses: its allocations and the entries it calls.
struct Reference {
  int allocations = 0;
  std::vector<EntryId> answeringEntries;
};

Reference RunReference() {
  Host host(Host::DefaultPluginFile(), Host::Mode::kTablesOnly);
  host.Load();
  const SessionScene scene = BuildSessionScene(host.SceneModel());
  RunSession(host, scene);
  Reference reference;
  reference.allocations = host.Framework().AllocationCount();
  for (const EntryId& entry : host.EntriesCalled())
    if (host.Answers(entry)) reference.answeringEntries.push_back(entry);
  EXPECT_TRUE(host.Failures().empty()) << "the reference session itself failed: " << host.Failures().front();
  return reference;
}

std::vector<Fault> Faults(const std::string& sweep) {
  std::vector<Fault> faults;
  if (sweep == "published") {
    for (const PublishedInterface& published : kInterfaces)
      faults.push_back({std::string("interface ") + published.name,
                        [name = std::string(published.name)](Host& h) { h.Framework().Unpublish(name); }, HealKernel});
    for (const std::string& id : PublishedDeclarations())
      faults.push_back({"declaration " + id, [id](Host& h) { h.Framework().UnpublishDeclaration(id); }, HealKernel});
  } else if (sweep == "methods") {
    for (const PublishedInterface& published : kInterfaces)
      for (int slot = 0; slot < published.methods; ++slot)
        faults.push_back({std::string(published.name) + " method " + std::to_string(slot),
                          [name = std::string(published.name), slot](Host& h) { h.Framework().UnpublishMethod(name, slot); },
                          HealKernel});
  } else if (sweep == "allocations") {
    const Reference reference = RunReference();
    for (int k = 1; k <= reference.allocations; ++k)
      faults.push_back({"allocation " + std::to_string(k) + " of " + std::to_string(reference.allocations),
                        [k](Host& h) { h.Framework().FailAllocation(k); }, HealKernel});
  } else if (sweep == "entries") {
    for (const EntryId& entry : RunReference().answeringEntries)
      faults.push_back({"entry " + Describe(entry), [entry](Host& h) { h.FailEntry(entry); },
                        [entry](Host& h) { h.HealEntry(entry); }});
  }
  return faults;
}

void ExpectNoHostFault(Host& host, const std::string& what) {
  for (const std::string& failure : host.Failures()) ADD_FAILURE() << what << ": " << failure;
  host.ClearFailures();
}

class SweepTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SweepTest, EveryFaultEndsCleanAndTheNextSessionWorks) {
  const std::vector<Fault> faults = Faults(GetParam());
  ASSERT_FALSE(faults.empty());
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.name);
    Host host(Host::DefaultPluginFile(), Host::Mode::kTablesOnly);
    const SessionScene scene = BuildSessionScene(host.SceneModel());
    fault.inject(host);
    host.Load();
    RunSession(host, scene);
    ExpectNoHostFault(host, "with " + fault.name);

    fault.heal(host);
    scene.mesh->polygons = 6;
    host.Load();
    const SessionRecord clean = RunSession(host, scene);
    EXPECT_EQ(clean.init, 1);
    EXPECT_EQ(clean.start, 1);
    EXPECT_EQ(clean.firstDisplay, ExpectedFirstDisplay());
    ExpectNoHostFault(host, "in the clean session after " + fault.name);
    if (HasFatalFailure()) return;
  }
  std::printf("[ sweep    ] %s: %zu cases\n", GetParam().c_str(), faults.size());
}

INSTANTIATE_TEST_SUITE_P(Session, SweepTest, ::testing::Values("published", "methods", "allocations", "entries"),
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
  ExpectNoHostFault(host, "clean session");
}

}  // namespace
