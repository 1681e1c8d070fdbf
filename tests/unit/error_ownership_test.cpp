// Every error the plug-in's code receives is its own to release, whichever path
// handed it out: the host's error prototypes survive every such release.
#include <atomic>
#include <thread>

#include "cpuid.h"
#include "datatype.h"
#include "error.h"
#include "frameworkstring.h"
#include "host_jobs.h"
#include "host_resource.h"
#include "logging.h"
#include "Statlume.h"
#include "runtime_fixture.h"

class ErrorOwnershipTest : public BoundRuntimeTest {
 protected:
  // The prototype of `code` is alive, and the host's reference is the only one.
  ::testing::AssertionResult HeldByHostAlone(int code) {
    const void* prototype = kernel().Prototype(code);
    if (!kernel().IsLiveObject(prototype))
      return ::testing::AssertionFailure() << "the plug-in freed the host's prototype of error " << code;
    if (kernel().CountWord(prototype) != 16)
      return ::testing::AssertionFailure() << "prototype of error " << code << " has count word "
                                           << kernel().CountWord(prototype);
    return ::testing::AssertionSuccess();
  }
};

TEST_F(ErrorOwnershipTest, NullReturnErrorsComeWithAReferenceOfTheirOwn) {
  const int codes[] = {core::kErrorNullPointer, core::kErrorNullPointer, core::kErrorUnresolved,
                       core::kErrorNotImplemented};
  for (int reason = 0; reason < 4; ++reason) {
    const core::ErrorRef error = core::PrivateGetNullReturnError(reason);
    EXPECT_EQ(kernel().CountWord(error), 32) << reason;
    core::ReleaseError(error);
    EXPECT_TRUE(HeldByHostAlone(codes[reason])) << reason;
  }
}

class MissingLoggerTest : public ErrorOwnershipTest {
  void Configure(testhost::Kernel& k) override { k.UnpublishDeclaration(published::decl::kDefaultLogger); }
};

TEST_F(MissingLoggerTest, LogLinesAnswerAnErrorTheCallerReleases) {
  for (int i = 0; i < 2; ++i) {
    const core::ErrorRef error = core::WriteLogLine(14, 1, "line", 1, "a.cpp");
    EXPECT_NE(error, nullptr);
    core::ReleaseError(error);
  }
  EXPECT_TRUE(HeldByHostAlone(core::kErrorNullPointer));
}

class UnboundApplicationTest : public ErrorOwnershipTest {
  void Configure(testhost::Kernel& k) override { k.Unpublish(published::Application::kName); }
};

TEST_F(UnboundApplicationTest, MachineInformationAndModuleFolder) {
  // Module start already asked for the machine information once.
  core::DetectCpuFeatures();
  HostPath folder;
  PluginResourceFolder(folder);
  PluginResourceFolder(folder);
  EXPECT_TRUE(HeldByHostAlone(core::kErrorUnresolved));
}

class UnboundStringConversionTest : public ErrorOwnershipTest {
  void Configure(testhost::Kernel& k) override { k.Unpublish(published::StringConversion::kName); }
};

TEST_F(UnboundStringConversionTest, CountTextsOfAnUpdate) {
  testhost::Document* document = scene().NewDocument();
  scene().SetActive(document, scene().AddPolygonObject(document, 8, 6));
  {
    StatlumeDialog dialog;
    // Opening fills the eight fields, each through a conversion that fails.
    ASSERT_TRUE(dialog.OpenWindow(DLG_TYPE::ASYNC, ID_STATLUME_COMMAND, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  }
  EXPECT_TRUE(HeldByHostAlone(core::kErrorUnresolved));
}

class FailedStringAllocationTest : public ErrorOwnershipTest {};

TEST_F(FailedStringAllocationTest, StringThatCouldNotBeMade) {
  kernel().FailAllocation(kernel().AllocationCount() + 1);  // the next one
  {
    const core::String text("lost");
    EXPECT_TRUE(text.IsNull());
  }
  core::String text;
  core::ReleaseError(text.MakeWritable(CORE_HERE));  // this one succeeds
  EXPECT_TRUE(HeldByHostAlone(core::kErrorNullPointer));
}

class UnboundDataTypeTest : public ErrorOwnershipTest {
  void Configure(testhost::Kernel& k) override {
    k.UnpublishMethod(published::DataTypeLibrary::kName, published::DataTypeLibrary::GetDataType);
  }
};

TEST_F(UnboundDataTypeTest, DataTypeThatCouldNotBeObtained) {
  core::g_int32Type.type = nullptr;
  EXPECT_EQ(core::HeldDataType(core::g_int32Type), reinterpret_cast<const core::DataTypeObject*>(kernel().InvalidType()));
  core::g_int32Type.type = nullptr;
  EXPECT_TRUE(HeldByHostAlone(core::kErrorUnresolved));
}

class UnboundJobResultsTest : public ErrorOwnershipTest {
  void Configure(testhost::Kernel& k) override {
    using published::ThreadServices;
    k.UnpublishMethod(ThreadServices::kName, ThreadServices::Enqueue);
    k.UnpublishMethod(ThreadServices::kName, ThreadServices::GetResult);
  }
};

TEST_F(UnboundJobResultsTest, EnqueueAndResultOfAJobFromAWorker) {
  std::atomic<int> ran{0};
  std::thread worker([&ran] {
    double timeout = kNoTimeLimit;
    RunOnMainThread([&ran] { ++ran; }, WAITMODE::DEFAULT, timeout);
  });
  worker.join();
  EXPECT_EQ(ran, 0);  // never enqueued
  EXPECT_TRUE(HeldByHostAlone(core::kErrorUnresolved));
  EXPECT_EQ(kernel().LiveAllocations(), 0u);  // the job went with its last reference
}
