// The guard after every block of framework memory: a write past the end of a block
// is caught when the block goes back and, for a block still held, at unload, and
// the failure names the block. Under the address sanitizer the guard is poisoned,
// so that the sanitizer reports the write itself.
#include <gtest/gtest.h>

#include <memory>

#include "testhost/host.h"
#include "testhost/kernel.h"

#include "testhost/sanitizers.h"
#if defined(STATLUME_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
#endif

namespace {

using testhost::Host;
using testhost::Kernel;

const testhost::Location kWhere{"framework_memory_test.cpp", 7, 0};
const std::string kFree = "net.hostapp.system.Free";

bool Mentions(const std::vector<std::string>& failures, const std::string& text) {
  for (const std::string& failure : failures)
    if (failure.find(text) != std::string::npos) return true;
  return false;
}

class FrameworkMemoryTest : public ::testing::Test {
 protected:
  std::unique_ptr<Host> host_ = Host::TablesOnly();
  Kernel& kernel() { return host_->Framework(); }
  char* Block(std::size_t size) { return static_cast<char*>(kernel().Allocate(size, &kWhere, kFree)); }
};

// Every byte of a block is the plug-in's, up to its last; sizes that do and do not
// fill the allocator's words alike.
TEST_F(FrameworkMemoryTest, WritingUpToTheEndIsNoFault) {
  for (std::size_t size : {1u, 7u, 16u, 33u}) {
    char* block = Block(size);
    for (std::size_t at = 0; at < size; ++at) block[at] = static_cast<char>(0xFD);
    EXPECT_TRUE(kernel().Release(block, kFree));
  }
  char* kept = Block(5);
  kept[4] = 1;
  kernel().CheckReleased();
  EXPECT_EQ(host_->Failures().size(), 1u);  // held at unload, nothing more
  EXPECT_TRUE(Mentions(host_->Failures(), "still holds memory block of 5 bytes")) << host_->Failures().front();
  host_->ClearFailures();
}

#if defined(STATLUME_ADDRESS_SANITIZER)

TEST_F(FrameworkMemoryTest, GuardIsPoisonedWhileTheBlockLives) {
  char* block = Block(13);
  EXPECT_FALSE(__asan_address_is_poisoned(block + 12));
  EXPECT_TRUE(__asan_address_is_poisoned(block + 13));
  EXPECT_TRUE(__asan_address_is_poisoned(block + 28));
  EXPECT_TRUE(kernel().Release(block, kFree));
  EXPECT_TRUE(host_->Failures().empty());
}

#else

TEST_F(FrameworkMemoryTest, WritePastTheEndIsCaughtWhenTheBlockGoesBack) {
  char* block = Block(16);
  block[16] = 0;
  kernel().Release(block, kFree);
  ASSERT_EQ(host_->Failures().size(), 1u);
  const std::string& failure = host_->Failures().front();
  EXPECT_NE(failure.find(kFree + ": the plug-in wrote past the end of memory block of 16 bytes #"), std::string::npos)
      << failure;
  EXPECT_NE(failure.find("framework_memory_test.cpp:7"), std::string::npos) << failure;
  EXPECT_NE(failure.find("(byte 16 changed)"), std::string::npos) << failure;
  host_->ClearFailures();
}

// The last guard byte counts as much as the first.
TEST_F(FrameworkMemoryTest, WriteFurtherPastAHeldBlockIsCaughtAtUnload) {
  char* block = Block(3);
  block[3 + 15] = 'x';
  kernel().CheckReleased();
  EXPECT_TRUE(Mentions(host_->Failures(), "at unload: the plug-in wrote past the end of memory block of 3 bytes"));
  EXPECT_TRUE(Mentions(host_->Failures(), "(byte 18 changed)"));
  host_->ClearFailures();
}

#endif

}  // namespace
