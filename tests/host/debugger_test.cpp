// Diagnostics and breaks with a debugger attached to the host process.
#include "fixture.h"
#include "tracer.h"

using testhost::Table;

using DebuggerTest = PluginTest;

TEST_F(DebuggerTest, AttachedDebuggerGetsLocationFirstAndABreak) {
  AttachedTracer tracer;
  if (!tracer.Attached()) GTEST_SKIP() << "this machine does not allow tracing";
  host().RemoveTable(Table::Cd);
  EXPECT_EQ(host().Init(), 1);
  const std::string line = Console();
  const std::string expectedStart =
      "frameworks/host/source/operatingsystem.cpp(136): CRITICAL: Assertion failed: t_HostOS_Ge && ";
  EXPECT_EQ(line.substr(0, expectedStart.size()), expectedStart);
  const std::string expectedEnd = " && t_HostOS_FL\n";
  ASSERT_GT(line.size(), expectedEnd.size());
  EXPECT_EQ(line.substr(line.size() - expectedEnd.size()), expectedEnd);
  EXPECT_EQ(tracer.Breaks(), 1);
}

TEST_F(DebuggerTest, NoBreakWithoutAProblem) {
  AttachedTracer tracer;
  if (!tracer.Attached()) GTEST_SKIP() << "this machine does not allow tracing";
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), "");
  EXPECT_EQ(tracer.Breaks(), 0);
}

TEST_F(DebuggerTest, HostCanTurnBreaksOff) {
  AttachedTracer tracer;
  if (!tracer.Attached()) GTEST_SKIP() << "this machine does not allow tracing";
  ASSERT_TRUE(kernel().SetConfiguration("g_enableDebugBreak", 0));
  host().RemoveTable(Table::Cd);
  EXPECT_EQ(host().Init(), 1);
  EXPECT_NE(Console().find("operatingsystem.cpp(136): CRITICAL: "), std::string::npos);
  EXPECT_EQ(tracer.Breaks(), 0);
}
