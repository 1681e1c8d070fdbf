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
  // The plug-in loads nothing and does not start, and says once which table it
  // missed; nothing calls through the missing table and nothing leaks (the host
  // checks at unload).
  EXPECT_EQ(host().Message(1), -1);
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(host().Message(1), -1);
  std::vector<std::string> lines;
  for (const auto& line : kernel().LogLines()) lines.push_back(line.text);
  const std::string why = "Statlume: the host provides no table " + testhost::GlobalName(static_cast<Table>(GetParam())) +
                          "; Statlume does not start.";
  EXPECT_EQ(lines, (std::vector<std::string>{why, "Quorvant Software: Failed to load Statlume"}));
  EXPECT_EQ(host().CommandModel().Registered().size(), 0u);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(BindingTest, TheFirstMissingTableIsTheOneNamed) {
  host().RemoveTable(Table::Tx);
  host().RemoveTable(Table::Bm);
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Start(), 0);
  ASSERT_FALSE(kernel().LogLines().empty());
  EXPECT_EQ(kernel().LogLines()[0].text, "Statlume: the host provides no table t_HostOS_Bm; Statlume does not start.");
  EXPECT_EQ(host().End(), 1);
}

INSTANTIATE_TEST_SUITE_P(EveryTable, MissingTableTest, ::testing::Range(0, testhost::kTableCount),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return testhost::GlobalName(static_cast<Table>(param.param));
                         });
