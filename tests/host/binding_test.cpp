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

TEST_P(MissingTableTest, EachSingleMissingTableIsReportedAndThePluginStaysSafe) {
  host().RemoveTable(static_cast<Table>(GetParam()));
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), MissingTableLine());
  // Whatever the missing table prevents, nothing calls through it and nothing leaks:
  // the whole life of the plug-in runs (the host checks at unload).
  host().Message(1);
  host().Start();
  if (testhost::RegisteredCommand* command = host().CommandModel().ById(1040438)) {
    host().CommandModel().Run(*command);
    host().CommandModel().QueryState(*command);
    host().CommandModel().DestroyAll();
  }
  EXPECT_EQ(host().End(), 1);
}

INSTANTIATE_TEST_SUITE_P(EveryTable, MissingTableTest, ::testing::Range(0, testhost::kTableCount),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return testhost::GlobalName(static_cast<Table>(param.param));
                         });
