// Binding of the host's function-table record.
#include "fixture.h"

using testhost::Table;

using BindingTest = PluginTest;

TEST_F(BindingTest, CompleteRecordBindsSilently) {
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), "");
}

TEST_F(BindingTest, SeveralMissingTablesAreReportedOnce) {
  host().RemoveTable(Table::Ge);
  host().RemoveTable(Table::Nb);
  host().RemoveTable(Table::FL);
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), MissingTableLine());
}

TEST_F(BindingTest, AllTablesMissingIsReportedOnce) {
  for (int t = 0; t < testhost::kTableCount; ++t) host().RemoveTable(static_cast<Table>(t));
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), MissingTableLine());
}

TEST_F(BindingTest, OldHostWithMissingTableIsReportedAndRejected) {
  host().SetVersion(2023999);
  host().RemoveTable(Table::Bo);
  EXPECT_EQ(host().Init(), -3);
  EXPECT_EQ(Console(), MissingTableLine());
}

class MissingTableTest : public PluginTest, public ::testing::WithParamInterface<int> {};

TEST_P(MissingTableTest, EachSingleMissingTableIsReportedAndTheHostAccepted) {
  host().RemoveTable(static_cast<Table>(GetParam()));
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), MissingTableLine());
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(host().End(), 1);
}

INSTANTIATE_TEST_SUITE_P(EveryTable, MissingTableTest, ::testing::Range(0, testhost::kTableCount),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return testhost::GlobalName(static_cast<Table>(param.param));
                         });
