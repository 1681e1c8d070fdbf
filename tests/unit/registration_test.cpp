// The static registration records: structural errors trap, units take their names
// and children in order.
#include <gtest/gtest.h>

#include <csignal>

#include "registration.h"

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
