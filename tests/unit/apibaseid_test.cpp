// The empty identifier, with a null text or an empty one.
#include <gtest/gtest.h>

#include "apibaseid.h"

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
