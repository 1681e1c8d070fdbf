// Diagnostic line format and the standard-output route of an unbound host.
#include <gtest/gtest.h>

#include <string>

#include "debugoutput.h"
#include "testhost/host.h"

namespace {

std::string Format(std::uint32_t flags, const char* text, int line, const char* file,
                   bool debugger) {
  char buffer[4096];
  const std::size_t length =
      core::FormatDebugLine(buffer, sizeof(buffer), flags, text, line, file, debugger);
  EXPECT_EQ(length, std::string(buffer).size());
  return buffer;
}

std::string Captured(std::uint32_t flags, const char* text, int line, const char* file) {
  const std::size_t mark = testhost::StdoutCapture::Text().size();
  {
    testhost::StdoutCapture capture;
    core::DebugOutput(flags, text, line, file);
  }
  return testhost::StdoutCapture::Text().substr(mark);
}

}  // namespace

TEST(DebugLineFormat, LevelTagsAndLineEnds) {
  EXPECT_EQ(Format(core::kOutputInfo, "hello", 1, "a.cpp", false), "hello\n");
  EXPECT_EQ(Format(core::kOutputWarning, "careful", 1, "a.cpp", false), "WARNING: careful\n");
  EXPECT_EQ(Format(core::kOutputCritical, "Stop", 1, "a.cpp", false), "CRITICAL: Stop\n");
  // The warning tag wins when both bits are set.
  EXPECT_EQ(Format(core::kOutputWarning | core::kOutputCritical, "x", 1, "a", false), "WARNING: x\n");
  EXPECT_EQ(Format(core::kOutputCritical | core::kOutputNoLineEnd, "Stop", 1, "a", false),
            "CRITICAL: Stop");
  EXPECT_EQ(Format(core::kOutputInfo | core::kOutputNoLineEnd, "part ", 1, "a", false), "part ");
}

TEST(DebugLineFormat, LocationWithoutDebuggerUsesTheLastComponent) {
  EXPECT_EQ(Format(core::kOutputCriticalLocated, "Stop", 398, "/src/core/object.cpp", false),
            "CRITICAL: Stop [object.cpp(398)]\n");
  EXPECT_EQ(Format(core::kOutputCriticalLocated, "Stop", 398, "C:\\src\\core\\object.cpp", false),
            "CRITICAL: Stop [object.cpp(398)]\n");
  EXPECT_EQ(Format(core::kOutputCriticalLocated, "Stop", 7, "object", false),
            "CRITICAL: Stop [object(7)]\n");
}

TEST(DebugLineFormat, LocationWithDebuggerLeadsWithTheFullPath) {
  EXPECT_EQ(Format(core::kOutputCriticalLocated, "Stop", 398, "/src/core/object.cpp", true),
            "/src/core/object.cpp(398): CRITICAL: Stop\n");
  // Without the location bit a debugger changes nothing.
  EXPECT_EQ(Format(core::kOutputCritical, "Stop", 398, "/src/core/object.cpp", true),
            "CRITICAL: Stop\n");
}

TEST(DebugLineFormat, ReportsTheFullLengthWhenTheBufferIsShort) {
  char small[8];
  const std::size_t length =
      core::FormatDebugLine(small, sizeof(small), core::kOutputCritical, "Stop", 0, "", false);
  EXPECT_EQ(length, std::string("CRITICAL: Stop\n").size());
  EXPECT_EQ(std::string(small), "CRITICA");
}

TEST(DebugOutputRoute, UnboundHostWritesToStandardOutput) {
  EXPECT_EQ(Captured(core::kOutputCriticalLocated, "Stop", 398, "src/object.cpp"),
            "CRITICAL: Stop [object.cpp(398)]\n");
  EXPECT_EQ(Captured(core::kOutputInfo | core::kOutputNoLineEnd, "Method ", 396, "object"),
            "Method ");
  EXPECT_EQ(core::DebugOutputMask(), core::kInitialOutputMask);
}

TEST(DebugOutputRoute, LongLinesAreNotLostWithoutHeap) {
  // Past the stack buffer the line moves to the heap; an unbound host has none, so
  // the line is cut to the buffer and still ends with its line feed.
  const std::string text(5000, 'x');
  const std::string line = Captured(core::kOutputInfo, text.c_str(), 1, "a");
  ASSERT_EQ(line.size(), core::kDebugLineStackBuffer - 1);
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line.substr(0, 10), "xxxxxxxxxx");
}

TEST(DebugOutputRoute, LinesThatFitAreWrittenWhole) {
  const std::string text(core::kDebugLineStackBuffer - 2, 'y');  // plus line feed fills it
  const std::string line = Captured(core::kOutputInfo, text.c_str(), 1, "a");
  EXPECT_EQ(line, text + "\n");
}

TEST(LastPathComponent, SlashesThenBackslashes) {
  EXPECT_STREQ(core::LastPathComponent("a/b/c.cpp"), "c.cpp");
  EXPECT_STREQ(core::LastPathComponent("a\\b\\c.cpp"), "c.cpp");
  EXPECT_STREQ(core::LastPathComponent("a\\b/c.cpp"), "c.cpp");
  EXPECT_STREQ(core::LastPathComponent("plain"), "plain");
  EXPECT_STREQ(core::LastPathComponent("dir/"), "");
  EXPECT_STREQ(core::LastPathComponent(nullptr), "");
}
