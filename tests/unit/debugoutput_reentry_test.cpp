// Diagnostics on a host whose system interface is bound but lacks a method the
// diagnostics themselves use, and diagnostics written while one is being written.
#include <string>

#include "debugoutput.h"
#include "runtime_fixture.h"

namespace {

using published::System;

// What DebugOutput writes to standard output.
std::string ToStandardOutput(std::uint32_t flags, const char* text) {
  const std::size_t mark = testhost::StdoutCapture::Text().size();
  {
    testhost::StdoutCapture capture;
    core::DebugOutput(flags, text, 398, "src/object.cpp");
  }
  return testhost::StdoutCapture::Text().substr(mark);
}

}  // namespace

class UnboundConsoleOutputTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.UnpublishMethod(System::kName, System::ConsoleOutput); }
};

TEST_F(UnboundConsoleOutputTest, LinesGoToStandardOutput) {
  EXPECT_EQ(ToStandardOutput(core::kOutputCriticalLocated, "Stop"), "CRITICAL: Stop [object.cpp(398)]\n");
  EXPECT_EQ(Console(), "");
}

class UnboundOutputMaskTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override {
    k.UnpublishMethod(System::kName, System::GetConsoleOutputType);
  }
};

TEST_F(UnboundOutputMaskTest, LinesReachTheHostUnderTheInitialMask) {
  EXPECT_EQ(ToStandardOutput(core::kOutputWarning, "careful"), "");
  EXPECT_EQ(Console(), "WARNING: careful\n");
}

class UnboundAllocationTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.UnpublishMethod(System::kName, System::Alloc); }
};

TEST_F(UnboundAllocationTest, ReportInsideALineGoesToStandardOutput) {
  // A line too long for the stack asks the host for memory; the report of the
  // missing method is written while the line is, so it goes to standard output,
  // and the line itself reaches the host cut to the stack buffer.
  const std::string text(core::kDebugLineStackBuffer + 10, 'x');
  EXPECT_EQ(ToStandardOutput(core::kOutputInfo, text.c_str()),
            "Method invocation of unresolvable interface net.hostapp.system\n"
            "CRITICAL: Stop [object.cpp(398)]\n");
  ASSERT_EQ(kernel().Console().size(), 1u);
  std::string cut(core::kDebugLineStackBuffer - 2, 'x');
  cut.push_back('\n');
  EXPECT_EQ(kernel().Console()[0].text, cut);
}
