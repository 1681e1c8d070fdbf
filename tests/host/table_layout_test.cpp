// A library that does not know where the host's table entries lie (the macOS build
// today; here the Linux library built with its layout unknown) must not call a
// single entry: it says why once, loads nothing and refuses to start.
#include <gtest/gtest.h>

#include <memory>

#include "testhost/host.h"

namespace {

constexpr char kWhy[] =
    "Statlume: this library does not know where the host's table entries lie on this platform; "
    "Statlume does not start.";
constexpr char kStartFailed[] = "Quorvant Software: Failed to load Statlume";

class UnknownTableLayoutTest : public ::testing::Test {
 protected:
  UnknownTableLayoutTest() : host_(std::make_unique<testhost::Host>(STATLUME_UNKNOWN_LAYOUT_PLUGIN)) {}
  void TearDown() override {
    host_->Unload();
    for (const std::string& failure : host_->Failures()) ADD_FAILURE() << failure;
  }
  testhost::Host& host() { return *host_; }
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (const auto& line : host().Framework().LogLines()) lines.push_back(line.text);
    return lines;
  }
  // The entries of the host's tables the plug-in called (framework methods aside).
  std::vector<std::string> EntriesCalled() {
    std::vector<std::string> called;
    for (const testhost::Call& call : host().Calls())
      if (!call.IsMethod()) called.push_back(testhost::Describe(call.entry));
    return called;
  }

  std::unique_ptr<testhost::Host> host_;
};

}  // namespace

TEST_F(UnknownTableLayoutTest, RefusesToStartWithoutCallingAnEntry) {
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), -1);
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(host().Message(1), -1);
  EXPECT_EQ(host().Message(0), 1);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{kWhy, kStartFailed}));
  EXPECT_EQ(host().CommandModel().Registered().size(), 0u);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(EntriesCalled(), std::vector<std::string>{});
}

TEST_F(UnknownTableLayoutTest, SaysWhyAgainInTheNextLife) {
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(host().End(), 1);
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{kWhy, kStartFailed, kWhy, kStartFailed}));
  EXPECT_EQ(EntriesCalled(), std::vector<std::string>{});
}
