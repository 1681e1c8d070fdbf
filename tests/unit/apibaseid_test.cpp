// Entity identifiers: the hash and length packed into one word, equality, and the
// empty identifier with a null text or an empty one.
#include <gtest/gtest.h>

#include "apibaseid.h"

TEST(EntityId, HashAndLengthArePackedIntoOneWord) {
  constexpr core::EntityId abc = core::Id("abc");
  static_assert(core::HashIdText("abc", 3) == 96354);
  EXPECT_EQ(abc.word, (std::uint64_t{3} << 44) + 96354);
  EXPECT_EQ(core::Id("").word, 0u);
  EXPECT_EQ(core::IdLength(core::Id("net.hostapp.system")), 18u);
  // Bytes count unsigned: 0xE9 adds 233, not -23.
  EXPECT_EQ(core::HashIdText("\xE9", 1), 233u);
  // The hash keeps the low 43 bits of the 64-bit wrap-around sum.
  const char long_text[] = "a much longer identifier text that overflows sixty-four bits";
  std::uint64_t h = 0;
  for (const char* c = long_text; *c; ++c) h = h * 31 + static_cast<unsigned char>(*c);
  EXPECT_EQ(core::HashIdText(long_text, sizeof(long_text) - 1), h & 0x7ffffffffffULL);
}

TEST(EntityId, EqualityComparesWordsThenText) {
  static const char copy[] = "abc";
  EXPECT_TRUE(core::IdEquals(core::Id("abc"), core::EntityIdOfText(copy)));
  core::EntityId owned = core::Id("abc");
  owned.word |= core::kIdOwnedText;
  EXPECT_TRUE(core::IdEquals(owned, core::Id("abc")));
  EXPECT_FALSE(core::IdEquals(core::Id("abd"), core::Id("abc")));
  EXPECT_TRUE(core::IdEquals(core::EntityIdOfText(nullptr), core::EntityId{nullptr, 0}));
}

TEST(EmptyIdentifier, NullTextEqualsEmptyText) {
  const core::EntityId null{nullptr, 0};
  const core::EntityId empty = core::Id("");
  EXPECT_TRUE(core::IdEquals(null, empty));
  EXPECT_TRUE(core::IdEquals(empty, null));
  EXPECT_TRUE(core::IdEquals(core::EntityIdOfText(nullptr), core::EntityIdOfText("")));
  // A null text with the word of a non-empty text stays unequal to that text.
  const core::EntityId abc = core::Id("abc");
  EXPECT_FALSE(core::IdEquals(core::EntityId{nullptr, abc.word}, abc));
  EXPECT_FALSE(core::IdEquals(abc, core::EntityId{nullptr, abc.word}));
}
