// The plug-in's calls into the framework: fallbacks of unbound methods, and the
// route of diagnostics and console lines to the host.
#include "fixture.h"

using testhost::Kernel;
namespace entry = testhost::entry;

namespace {
const char kSystem[] = "net.hostapp.system";
const std::string kUnresolvableSystem =
    "Method invocation of unresolvable interface net.hostapp.system\n"
    "CRITICAL: Stop [object.cpp(398)]\n";
}  // namespace

using FrameworkRouteTest = PluginTest;

TEST_F(FrameworkRouteTest, UnpublishedInterfaceFallsBackWithAReport) {
  host().Reload([](Kernel& k) {
    k.Unpublish(kSystem);
  });
  host().ClearStdout();  // module start already met the missing interface
  EXPECT_EQ(host().Init(), 1);
  // Without the system interface the report goes to standard output, and the
  // allocation answers null: no plug-in path is kept.
  EXPECT_EQ(host().Stdout(), kUnresolvableSystem);
  EXPECT_EQ(host().CountCalls(entry::PathInit), 0u);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, MissingMethodOfABoundInterfaceIsReportedToTheHost) {
  host().Reload([](Kernel& k) { k.UnpublishMethod(kSystem, published::System::Alloc); });
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), kUnresolvableSystem);
  EXPECT_EQ(host().Stdout(), "");
  EXPECT_EQ(host().CountCalls(entry::PathInit), 0u);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, WrongSignatureHashLeavesTheFallback) {
  host().Reload([](Kernel& k) { k.SetSignatureHash(kSystem, published::System::Alloc, "0000000000000000"); });
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), kUnresolvableSystem);
  EXPECT_EQ(host().CountCalls(entry::PathInit), 0u);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, FailedReferenceAnswersAtOnceWithoutAReport) {
  host().Reload([](Kernel& k) {
    k.MarkFailed(kSystem);
  });
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Stdout(), "");
  EXPECT_EQ(Console(), "");
  EXPECT_EQ(host().CountCalls(entry::PathInit), 0u);
  EXPECT_TRUE(kernel().Configuration().empty());
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, MissingKernelInitializerIsAsserted) {
  host().Reload([](Kernel& k) {
    k.WithholdInitializer();
    k.UnpublishMethod(kSystem, published::System::Alloc);
  });
  const std::size_t before = kernel().Console().size();
  EXPECT_EQ(host().Init(), 1);
  std::string written;
  for (std::size_t i = before; i < kernel().Console().size(); ++i) written += kernel().Console()[i].text;
  EXPECT_EQ(written, "CRITICAL: Assertion failed: g_framework.GetInitializer() [object.cpp(157)]\n" +
                         kUnresolvableSystem);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, UnboundLoggerDropsConsoleLinesSilently) {
  host().Reload([](Kernel& k) { k.Unpublish("net.hostapp.logger"); });
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), 1);
  EXPECT_EQ(host().Start(), 1);
  EXPECT_TRUE(kernel().LogLines().empty());
  EXPECT_EQ(Console(), "");
  EXPECT_EQ(host().Stdout(), "");
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, MissingDefaultLoggerDropsConsoleLines) {
  host().Reload([](Kernel& k) { k.UnpublishDeclaration("net.hostapp.logger.core"); });
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Start(), 1);
  EXPECT_TRUE(kernel().LogLines().empty());
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, ConsoleLinesGoThroughTheDefaultLogger) {
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), 1);
  EXPECT_EQ(host().Start(), 1);
  EXPECT_EQ(host().End(), 1);
  ASSERT_EQ(kernel().LogLines().size(), 1u);
  const testhost::LogLine& loaded = kernel().LogLines()[0];
  EXPECT_EQ(loaded.text, "Quorvant Software: Statlume successfully loaded.");
  EXPECT_EQ(loaded.target, 14);
  EXPECT_EQ(loaded.level, 1);
  EXPECT_EQ(loaded.file.substr(loaded.file.size() - 8), "main.cpp");
  // Nothing on the console, nothing on standard output; every string was released
  // (the host checks at unload).
  EXPECT_EQ(Console(), "");
  EXPECT_EQ(host().Stdout(), "");
}

TEST_F(FrameworkRouteTest, DiagnosticsCarryTheirLocationToTheHostConsole) {
  host().RemoveTable(testhost::Table::Lr);
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(kernel().Console().size(), 1u);
  const testhost::ConsoleWrite& write = kernel().Console()[0];
  EXPECT_EQ(write.text, MissingTableLine());
  EXPECT_EQ(write.line, 136);
  EXPECT_EQ(write.flags, 0x40000004u);
  EXPECT_EQ(write.file, "frameworks/host/source/operatingsystem.cpp");
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, HostOutputMaskFiltersLevels) {
  host().Reload([](Kernel& k) { k.SetConsoleOutputType(1); });  // info only
  host().RemoveTable(testhost::Table::Lr);
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(Console(), "");
  EXPECT_EQ(host().Stdout(), "");
  EXPECT_EQ(host().End(), 1);
}

TEST_F(FrameworkRouteTest, ConfigurationVariablesAreRegisteredWithTheHost) {
  std::vector<std::string> names;
  for (const testhost::ConfigurationVariable& variable : kernel().Configuration()) names.push_back(variable.name);
  // Two of them exist only in the Unix builds.
  if (testhost::build::kWindows)
    EXPECT_EQ(names, (std::vector<std::string>{"g_trackCpuYield", "g_enableDebugBreak"}));
  else
    EXPECT_EQ(names, (std::vector<std::string>{"g_trackSpinlocks", "g_trackCpuYield", "g_inCrashhandler",
                                               "g_enableDebugBreak"}));
}

// A kernel that binds an interface only when the module first calls it: the
// fallback gives it that chance and the call goes through.
TEST_F(FrameworkRouteTest, OnDemandResolutionBindsOnTheFirstCall) {
  host().Reload([](Kernel& k) { k.ResolveOnDemand("net.hostapp.logger"); });
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  ASSERT_EQ(host().Start(), 1);
  ASSERT_EQ(kernel().LogLines().size(), 1u);
  EXPECT_EQ(kernel().LogLines()[0].text, "Quorvant Software: Statlume successfully loaded.");
  EXPECT_EQ(Console(), "");
}

// The kernel's initializer answers an error when asked again for an interface
// whose method it could not bind: the module releases that error, and the call
// answers the unresolved error, which the caller releases in turn (the host checks
// both at unload).
TEST_F(FrameworkRouteTest, InitializerErrorIsReleasedAndTheCallFails) {
  host().Reload([](Kernel& k) {
    k.UnpublishMethod("net.hostapp.logger", published::Logger::Write);
    k.FailInitializer("net.hostapp.logger");
  });
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  EXPECT_EQ(host().Start(), 1);
  EXPECT_TRUE(kernel().LogLines().empty());
  EXPECT_EQ(Console(), "");  // result-returning methods fail without a report
  EXPECT_EQ(host().Objects().LivePluginObjects("unresolved error"), 0u);
}
