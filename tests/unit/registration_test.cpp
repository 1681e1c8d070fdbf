// Identifiers and the structural checks of the static registration.
#include <gtest/gtest.h>

#include <csignal>

#include "apibaseid.h"
#include "registration.h"

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

namespace {
core::TranslationUnitRecord g_testUnit;
core::ModuleEntry g_testModule;
}  // namespace

using RegistrationDeathTest = ::testing::Test;

TEST_F(RegistrationDeathTest, StructuralErrorsTrap) {
  const auto trapped = ::testing::KilledBySignal(SIGTRAP);
  EXPECT_EXIT(
      {
        core::RegisterUnit(g_testUnit, g_testModule, "a.cpp", 0);
        core::RegisterUnit(g_testUnit, g_testModule, "a.cpp", 0);  // registered twice
      },
      trapped, "");
  EXPECT_EXIT(
      {
        static core::InitializerRecord record;
        core::EntityId owned = core::Id("x");
        owned.word |= core::kIdOwnedText;
        core::RegisterUnit(g_testUnit, g_testModule, "a.cpp", 0);
        core::RegisterInitializer(record, owned, g_testUnit, nullptr, 128);
      },
      trapped, "");
  EXPECT_EXIT(
      {
        static const core::EntityId ids[1] = {core::Id("x")};
        core::SetModuleDependencies(g_testModule, ids, 1);
        core::SetModuleDependencies(g_testModule, ids, 1);
      },
      trapped, "");
  EXPECT_EXIT(
      {
        static core::UsedDeclaration node;
        core::RegisterUnit(g_testUnit, g_testModule, "a.cpp", 0);
        core::RegisterUsedDeclaration(node, nullptr, g_testUnit, "core/string", 0);
      },
      trapped, "");
  EXPECT_EXIT(
      {
        static core::InitializerRecord record;
        core::RegisterUnit(g_testUnit, g_testModule, "a.cpp", 0);
        core::RegisterInitializer(record, core::EntityId{nullptr, 0}, g_testUnit, nullptr, 128);
      },
      trapped, "");
  EXPECT_EXIT(
      {
        core::RegisterUnit(g_testUnit, g_testModule, "a.cpp", 0x40);  // a reserved bit
      },
      trapped, "");
}

TEST(Registration, UnitsLearnTheirNameFromTheirFirstNamingRecord) {
  // Blank records of the test's own: a record registers once only, so records kept
  // from an earlier run of this test in the same process would trap.
  core::TranslationUnitRecord unit{};
  core::ModuleEntry module{};
  core::InitializerRecord first{};
  core::InitializerRecord second{};
  core::RegisterUnit(unit, module, core::kUnnamedUnit, 0);
  EXPECT_EQ(std::string(unit.head.id.text, core::IdLength(unit.head.id)), "??");
  core::RegisterInitializer(first, core::Id("configuration"), unit, "src/core/configuration.cpp", 128);
  EXPECT_EQ(std::string(unit.head.id.text, core::IdLength(unit.head.id)), "configuration.cpp");
  core::RegisterInitializer(second, core::Id("other"), unit, "src/core/other.cpp", 128);
  EXPECT_EQ(std::string(unit.head.id.text, core::IdLength(unit.head.id)), "configuration.cpp");
  // Children are appended in registration order.
  EXPECT_EQ(unit.childHead, &first.head);
  EXPECT_EQ(first.head.next, &second.head);
  EXPECT_EQ(unit.childTail, &second.head);
  EXPECT_EQ(module.unitsHead, &unit.head);
  EXPECT_EQ(unit.head.flags & 0x201u, 0x201u);
  EXPECT_EQ(unit.bookkeeping[1], -2);
}
