// The one calling mechanism of host operations, and the globals it reads.
#include <gtest/gtest.h>

#include "operatingsystem.h"

namespace {

int Twice(int value) { return value * 2; }
int g_voidCalls = 0;
void CountCall(int) { ++g_voidCalls; }

template <void** Table>
void ExpectNullSafe(const char* name) {
  SCOPED_TRACE(name);
  constexpr HostOp<Table, 16, int(int)> valued{};
  constexpr HostOp<Table, 8, void(int)> plain{};
  constexpr HostData<Table, 0, const char> data{};
  static const char kData[] = "data";

  *Table = nullptr;
  g_voidCalls = 0;
  EXPECT_EQ(valued(21), 0);
  plain(1);
  EXPECT_EQ(g_voidCalls, 0);
  EXPECT_EQ(data(), nullptr);

  void* entries[3] = {const_cast<char*>(kData), reinterpret_cast<void*>(&CountCall),
                      reinterpret_cast<void*>(&Twice)};
  *Table = entries;
  EXPECT_EQ(valued(21), 42);
  plain(1);
  EXPECT_EQ(g_voidCalls, 1);
  EXPECT_STREQ(data(), "data");

  // An entry the host left empty is not called either.
  entries[1] = entries[2] = nullptr;
  EXPECT_EQ(valued(21), 0);
  plain(1);
  EXPECT_EQ(g_voidCalls, 1);
  *Table = nullptr;
}

}  // namespace

TEST(HostOp, EveryTableAnswersItsFailureValueWhenMissing) {
#define STATLUME_CHECK_TABLE(name) ExpectNullSafe<&t_HostOS_##name>("t_HostOS_" #name);
  STATLUME_HOST_TABLES(STATLUME_CHECK_TABLE)
#undef STATLUME_CHECK_TABLE
}

TEST(HostOp, PointerAndBoolResultsFailAsNullAndFalse) {
  t_HostOS_Ge = nullptr;
  EXPECT_EQ((HostOp<&t_HostOS_Ge, 296, void*()>{}()), nullptr);
  EXPECT_FALSE((HostOp<&t_HostOS_Ge, 616, bool(int, void*)>{}(245, nullptr)));
}

namespace {
std::uint64_t g_word = 0;
std::uint64_t AnswerWord(int) { return g_word; }
}  // namespace

// A bool is one byte: whatever else the host's register holds is not the answer.
TEST(HostOp, BoolAnswersAreReadFromTheLowByteOnly) {
  void* entries[1] = {reinterpret_cast<void*>(&AnswerWord)};
  t_HostOS_Cd = entries;
  constexpr HostOp<&t_HostOS_Cd, 0, bool(int)> answer{};
  const struct {
    std::uint64_t word;
    bool expected;
  } cases[] = {{0, false}, {1, true}, {0xA5A5A5A5A5A54200, false}, {0xA5A5A5A5A5A54201, true},
               {0x100, false}, {0xFFFFFFFF00000000, false}, {0x8000000000000002, true}};
  for (const auto& c : cases) {
    g_word = c.word;
    EXPECT_EQ(answer(0), c.expected) << std::hex << c.word;
    EXPECT_EQ(HostBoolAnswer(static_cast<uintptr_t>(c.word)), c.expected) << std::hex << c.word;
  }
  t_HostOS_Cd = nullptr;
}

TEST(BindHostTables, CopiesEveryTableFromItsRecordOffset) {
  HostOS record{};
  record.version = 2024123;
  for (int i = 0; i < kHostTableCount; ++i)
    record.tables[i] = reinterpret_cast<void*>(std::uintptr_t{0x1000} + std::uintptr_t(i) * 8);
  EXPECT_EQ(BindHostTables(&record), 2024123);
  EXPECT_EQ(t_HostOS, &record);

  // Each global against the byte offset of its pointer in the record.
  const struct {
    void* global;
    int offset;
  } expected[] = {
      {t_HostOS_Ge, 8},   {t_HostOS_Sh, 16},  {t_HostOS_Hf, 24},  {t_HostOS_Bc, 32},
      {t_HostOS_St, 40},  {t_HostOS_Bm, 48},  {t_HostOS_Ms, 56},  {t_HostOS_Ba, 64},
      {t_HostOS_Fn, 72},  {t_HostOS_Fl, 80},  {t_HostOS_Bf, 88},  {t_HostOS_Cd, 96},
      {t_HostOS_Cu, 104}, {t_HostOS_Pr, 112}, {t_HostOS_Lr, 120}, {t_HostOS_Bl, 128},
      {t_HostOS_Tg, 136}, {t_HostOS_Bo, 144}, {t_HostOS_Bd, 152}, {t_HostOS_Bt, 160},
      {t_HostOS_Mt, 168}, {t_HostOS_Tx, 176}, {t_HostOS_Bs, 184}, {t_HostOS_Bu, 192},
      {t_HostOS_Br, 200}, {t_HostOS_Bv, 208}, {t_HostOS_Nb, 216}, {t_HostOS_Pl, 224},
      {t_HostOS_Fi, 232}, {t_HostOS_Pa, 240}, {t_HostOS_Ln, 248}, {t_HostOS_Gv, 256},
      {t_HostOS_Gd, 264}, {t_HostOS_At, 272}, {t_HostOS_CA, 280}, {t_HostOS_Ne, 288},
      {t_HostOS_FL, 296},
  };
  ASSERT_EQ(std::size(expected), std::size_t(kHostTableCount));
  for (const auto& e : expected) {
    const auto stored = *reinterpret_cast<void* const*>(reinterpret_cast<const char*>(&record) + e.offset);
    EXPECT_EQ(e.global, stored) << "offset " << e.offset;
  }
}

TEST(BindHostTables, MissingTableLeavesTheOthersBound) {
  HostOS record{};
  record.version = 2024000;
  for (int i = 0; i < kHostTableCount; ++i) record.tables[i] = &record;
  record.tables[0] = nullptr;
  testing::internal::CaptureStdout();
  EXPECT_EQ(BindHostTables(&record), 2024000);
  const std::string output = testing::internal::GetCapturedStdout();
  EXPECT_NE(output.find("Assertion failed: t_HostOS_Ge && "), std::string::npos);
  EXPECT_EQ(t_HostOS_Ge, nullptr);
  EXPECT_EQ(t_HostOS_FL, &record);
}
