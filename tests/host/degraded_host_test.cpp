// The whole plug-in on a host that lacks or refuses something: framework interfaces
// it does not publish, a logger that refuses every line, a window object it will
// not make. The plug-in carries on, frees nothing of the host's and keeps nothing
// of its own.
#include "fixture.h"

using testhost::Kernel;
namespace entry = testhost::entry;
namespace error = testhost::error;

namespace {
constexpr int kCommandId = 1040438;
}  // namespace

class DegradedHostTest : public PluginTest {
 protected:
  int Load() {
    EXPECT_EQ(host().Init(), 1);
    EXPECT_EQ(host().Message(1), 1);
    return host().Start();
  }
  // The host's prototype of error `code` is alive and held by the host alone.
  ::testing::AssertionResult PrototypeIntact(int code) {
    const void* prototype = kernel().Prototype(code);
    if (!kernel().IsLiveObject(prototype)) return ::testing::AssertionFailure() << "prototype " << code << " freed";
    if (kernel().CountWord(prototype) != 16)
      return ::testing::AssertionFailure() << "prototype " << code << " count word " << kernel().CountWord(prototype);
    return ::testing::AssertionSuccess();
  }
};

TEST_F(DegradedHostTest, WithoutTheApplicationInterface) {
  host().Reload([](Kernel& k) { k.Unpublish(published::Application::kName); });
  ASSERT_EQ(Load(), 1);  // module start and message 1 both met the unbound interface
  EXPECT_TRUE(PrototypeIntact(error::kUnresolved));
  EXPECT_EQ(host().End(), 1);
}

TEST_F(DegradedHostTest, WithoutStringConversionTheCommandStillCounts) {
  host().Reload([](Kernel& k) { k.Unpublish(published::StringConversion::kName); });
  testhost::Scene& scene = host().SceneModel();
  testhost::Document* document = scene.NewDocument();
  scene.SetActive(document, scene.AddPolygonObject(document, 8, 6));
  ASSERT_EQ(Load(), 1);
  testhost::RegisteredCommand* command = host().CommandModel().ById(kCommandId);
  ASSERT_NE(command, nullptr);
  EXPECT_TRUE(host().CommandModel().Run(*command));
  EXPECT_TRUE(PrototypeIntact(error::kUnresolved));
  EXPECT_EQ(host().End(), 1);
}

TEST_F(DegradedHostTest, LoggerThatRefusesEveryLine) {
  host().Reload([](Kernel& k) { k.FailLoggerWrite(true); });
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(host().End(), 1);
  EXPECT_TRUE(kernel().LogLines().empty());
  // The error the load line came back with was released.
  EXPECT_EQ(host().Objects().LivePluginObjects("illegal-state error"), 0u);
}

TEST_F(DegradedHostTest, RefusedWindowObject) {
  host().WindowModel().RefuseWindows(true);
  ASSERT_EQ(Load(), 1);
  testhost::RegisteredCommand* command = host().CommandModel().ById(kCommandId);
  ASSERT_NE(command, nullptr);
  EXPECT_TRUE(host().CommandModel().Run(*command));
  EXPECT_FALSE(host().CommandModel().Restore(*command, host().WindowModel().IssueLayoutToken()));
  // Nothing was asked of a window that does not exist.
  EXPECT_EQ(host().CountCalls(entry::ElementOperation), 0u);
  EXPECT_EQ(host().CountCalls(entry::DialogOpen), 0u);
  EXPECT_EQ(host().CountCalls(entry::DialogRestore), 0u);
  EXPECT_EQ(host().End(), 1);
}
