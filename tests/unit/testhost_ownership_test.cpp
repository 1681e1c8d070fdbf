// The test host's bookkeeping of what it hands out (testhost/ownership.h, the
// kernel's framework memory, the scene's command results): a second release or a
// late use of a recent object is still named, and a long session keeps a bounded
// amount of it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testhost/fault_log.h"
#include "testhost/host.h"
#include "testhost/ownership.h"
#include "testhost/scene.h"

using testhost::Owner;

namespace {

constexpr const char* kFree = "net.hostapp.system.Free";

bool Mentions(const std::vector<std::string>& failures, const std::string& text) {
  for (const std::string& failure : failures)
    if (failure.find(text) != std::string::npos) return true;
  return false;
}

}  // namespace

TEST(OwnershipRecords, ReleasedRecordsStayBounded) {
  testhost::FaultLog faults;
  testhost::Ownership objects(faults);
  std::vector<char> addresses(3 * testhost::kReleasedRecords);
  for (char& object : addresses) {
    objects.HandOut(&object, "string", Owner::kPlugin, "a test", kFree);
    ASSERT_TRUE(objects.GiveBack(&object, kFree));
  }
  EXPECT_EQ(objects.Records(), testhost::kReleasedRecords);
  // The latest release is still named as such.
  EXPECT_FALSE(objects.GiveBack(&addresses.back(), kFree));
  ASSERT_EQ(faults.Failures().size(), 1u);
  EXPECT_NE(faults.Failures()[0].find("released string #" + std::to_string(addresses.size()) + " (plug-in's, from a test) "
                                      "twice (first through " + kFree + ")"),
            std::string::npos)
      << faults.Failures()[0];
}

// An address handed out again keeps its new record when its old release is forgotten.
TEST(OwnershipRecords, ReusedAddressOutlivesItsOldRelease) {
  testhost::FaultLog faults;
  testhost::Ownership objects(faults);
  char reused = 0;
  objects.HandOut(&reused, "string", Owner::kPlugin, "the first", kFree);
  ASSERT_TRUE(objects.GiveBack(&reused, kFree));
  objects.HandOut(&reused, "string", Owner::kPlugin, "the second", kFree);
  std::vector<char> others(testhost::kReleasedRecords + 1);
  for (char& object : others) {
    objects.HandOut(&object, "string", Owner::kPlugin, "a test", kFree);
    objects.GiveBack(&object, kFree);
  }
  EXPECT_TRUE(objects.IsLive(&reused));
  EXPECT_NE(objects.Name(&reused).find("from the second"), std::string::npos);
  // Objects the host retires, and those left at unload, count among the released.
  objects.RetirePluginObjects();
  EXPECT_FALSE(objects.IsLive(&reused));
  EXPECT_LE(objects.Records(), testhost::kReleasedRecords);
  EXPECT_TRUE(faults.Failures().empty());
}

TEST(OwnershipRecords, FreedFrameworkMemoryStaysBounded) {
  const auto host = testhost::Host::TablesOnly();
  testhost::Kernel& kernel = host->Framework();
  void* last = nullptr;
  for (std::size_t i = 0; i < 3 * testhost::kReservedBlocks; ++i) {
    last = kernel.Allocate(32, nullptr, kFree);
    ASSERT_TRUE(kernel.Release(last, kFree));
  }
  EXPECT_EQ(kernel.ReservedBlocks(), testhost::kReservedBlocks);
  EXPECT_LE(host->Objects().Records(), testhost::kReleasedRecords + 16);
  EXPECT_EQ(kernel.LiveAllocations(), 0u);
  // The latest freed block is still reserved: a second release names it.
  EXPECT_FALSE(kernel.Release(last, kFree));
  ASSERT_EQ(host->Failures().size(), 1u);
  EXPECT_TRUE(Mentions(host->Failures(), "memory block of 32 bytes")) << host->Failures()[0];
  EXPECT_TRUE(Mentions(host->Failures(), "twice (first through net.hostapp.system.Free)")) << host->Failures()[0];
  host->ClearFailures();
}

// The objects of freed command results stay reserved while they are few; each
// result goes whole, and the latest stays whatever its size.
TEST(OwnershipRecords, FreedCommandResultsStayBounded) {
  testhost::FaultLog faults;
  testhost::Ownership objects(faults);
  testhost::Scene scene(faults, objects);
  testhost::Document* document = scene.NewDocument();
  testhost::SceneObject* top = scene.Add(document, testhost::ObjectKind::Null);
  constexpr std::size_t kChildren = 999;
  for (std::size_t i = 0; i < kChildren; ++i) scene.AddPolygonObject(document, 8, 6, 0, top);
  testhost::SceneObject* last = nullptr;
  for (std::size_t i = 0; i < 3 * testhost::kReservedFreedObjects / (kChildren + 1); ++i) {
    testhost::CommandRecord record{document, top, {}, nullptr};
    ASSERT_TRUE(scene.RunCommand(testhost::kCommandMakeEditable, &record));
    last = scene.ResultAt(record.result, 0);
    ASSERT_TRUE(scene.FreeObject(last));
    scene.FreeResultList(&record.result);
  }
  EXPECT_LE(scene.ReservedFreedObjects(), testhost::kReservedFreedObjects);
  EXPECT_GE(scene.ReservedFreedObjects(), testhost::kReservedFreedObjects - kChildren);
  EXPECT_TRUE(scene.WasFreed(last));
  EXPECT_TRUE(scene.WasFreed(last->lastChild)) << "the objects below a kept result are kept with it";
  EXPECT_TRUE(faults.Failures().empty());
  EXPECT_FALSE(scene.FreeObject(last));
  EXPECT_TRUE(Mentions(faults.Failures(), "twice")) << (faults.Failures().empty() ? "" : faults.Failures()[0]);
}
