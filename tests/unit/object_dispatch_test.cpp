// Object dispatch through class descriptors.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "object.h"

namespace {

struct Probe {
  [[maybe_unused]] static constexpr core::EntityId kId = core::Id("test.probe");
};

int g_seenValue = 0;
const void* g_seenReceiver = nullptr;
int ProbeMethod(void* self, int value) {
  g_seenReceiver = self;
  g_seenValue = value;
  return value + 1;
}

// A descriptor of `size` bytes (its size word at byte 32) implementing the probe at
// `offset`, which lies past the size word,
// with method 1 adjusting the receiver by `adjustment`.
std::vector<unsigned char> Descriptor(std::uint64_t size, std::uint64_t offset, std::int64_t adjustment) {
  std::vector<unsigned char> bytes(std::max<std::uint64_t>(size, offset + 40), 0);
  std::memcpy(bytes.data() + 32, &size, 8);
  bytes[offset] = 1;
  void* function = reinterpret_cast<void*>(&ProbeMethod);
  std::memcpy(bytes.data() + offset + 1 + 16, &function, 8);
  std::memcpy(bytes.data() + offset + 9 + 16, &adjustment, 8);
  return bytes;
}

struct Object {
  const unsigned char* descriptor;
  long payload[4];
};

using Call = core::ObjectMethod<Probe, 1, int(void*, int)>;

}  // namespace

TEST(ObjectDispatch, OffsetMustLieBelowTheDescriptorSize) {
  auto& reference = core::ObjectBinding<Probe>::reference;
  const auto descriptor = Descriptor(128, 48, 0);
  Object object{descriptor.data(), {}};
  reference.methodOffset = 48;
  EXPECT_TRUE(core::Implements(&object, reference));

  const auto atSize = Descriptor(64, 64, 0);
  Object edge{atSize.data(), {}};
  reference.methodOffset = 64;
  EXPECT_FALSE(core::Implements(&edge, reference));  // equal to the size
  reference.methodOffset = 100;
  EXPECT_FALSE(core::Implements(&edge, reference));  // beyond it
  reference.methodOffset = core::kUnboundMethodOffset;
  EXPECT_FALSE(core::Implements(&object, reference));  // never bound
  EXPECT_FALSE(core::Implements(nullptr, reference));
}

TEST(ObjectDispatch, FlagByteSaysWhetherTheInterfaceIsImplemented) {
  auto& reference = core::ObjectBinding<Probe>::reference;
  auto descriptor = Descriptor(128, 48, 0);
  Object object{descriptor.data(), {}};
  reference.methodOffset = 48;
  descriptor[48] = 0;
  EXPECT_FALSE(core::Implements(&object, reference));
  EXPECT_EQ(Call{}(&object, 5), 0);  // not implemented: neutral answer, no call
}

TEST(ObjectDispatch, MethodsAreCalledWithTheAdjustedReceiver) {
  auto& reference = core::ObjectBinding<Probe>::reference;
  const auto descriptor = Descriptor(128, 48, 16);
  Object object{descriptor.data(), {}};
  reference.methodOffset = 48;
  EXPECT_EQ(Call{}(&object, 41), 42);
  EXPECT_EQ(g_seenValue, 41);
  EXPECT_EQ(g_seenReceiver, reinterpret_cast<const char*>(&object) + 16);
}
