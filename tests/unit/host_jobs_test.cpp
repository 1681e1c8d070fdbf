// Running work on the host's main thread.
#include <atomic>
#include <chrono>
#include <thread>

#include "host_jobs.h"
#include "testhost/abi.h"
#include "runtime_fixture.h"

namespace entry = testhost::entry;

namespace {

const testhost::MethodId kWait{"net.hostapp.threadservices", "Wait"};
const testhost::MethodId kGetResult{"net.hostapp.threadservices", "GetResult"};
const testhost::MethodId kCancel{"net.hostapp.threadservices", "Cancel"};

// The (timeout, mode) of each recorded wait or result call.
std::vector<std::pair<double, std::int64_t>> Waits(const std::vector<testhost::Call>& calls) {
  std::vector<std::pair<double, std::int64_t>> waits;
  for (const testhost::Call& call : calls) waits.emplace_back(call.Float(1), call.Int(2));
  return waits;
}

using Waited = std::vector<std::pair<double, std::int64_t>>;
constexpr double kUnlimited = 1.7976931348623157e308;

}  // namespace

class JobTest : public BoundRuntimeTest {
 protected:
  testhost::JobSystem& jobs() { return kernel().Jobs(); }

  // Runs `body` on a worker thread while this (main) thread drains the job queue.
  template <typename F>
  void OnWorker(F body) {
    std::atomic<bool> finished{false};
    std::thread worker([&] {
      body();
      finished = true;
    });
    EXPECT_TRUE(jobs().RunMainThreadUntil([&] { return finished.load(); }));
    worker.join();
    jobs().RunMainThreadJobs();
  }
};

TEST_F(JobTest, OnTheMainThreadWorkRunsAtOnce) {
  const int allocations = kernel().AllocationCount();
  int ran = 0;
  double timeout = kNoTimeLimit;
  RunOnMainThread([&ran] { ++ran; }, WAITMODE::DONT_WAIT, timeout);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(jobs().Enqueued(), 0);
  EXPECT_EQ(kernel().AllocationCount(), allocations);
}

TEST_F(JobTest, WorkFromAWorkerRunsOnTheMainThread) {
  const std::thread::id main = std::this_thread::get_id();
  std::thread::id ranOn;
  std::atomic<bool> returned{false};
  OnWorker([&] {
    double timeout = kNoTimeLimit;
    RunOnMainThread([&] { ranOn = std::this_thread::get_id(); }, WAITMODE::DEFAULT, timeout);
    // DEFAULT waits for the result: the work has run by now.
    EXPECT_EQ(ranOn, main);
    returned = true;
  });
  EXPECT_TRUE(returned);
  // No separate wait: the result is collected with the caller's timeout and mode.
  EXPECT_TRUE(host().CallsTo(kWait).empty());
  EXPECT_EQ(Waits(host().CallsTo(kGetResult)), (Waited{{kUnlimited, 0}}));
  EXPECT_EQ(jobs().Enqueued(), 1);
  EXPECT_EQ(kernel().LiveAllocations(), 0u);  // the job went with its last reference
}

TEST_F(JobTest, DontWaitReturnsBeforeTheWorkRuns) {
  std::atomic<int> ran{0};
  std::thread worker([&] {
    double timeout = kNoTimeLimit;
    RunOnMainThread([&ran] { ++ran; }, WAITMODE::DONT_WAIT, timeout);
  });
  worker.join();  // returned without the main thread's help
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(jobs().Queued(), 1u);
  EXPECT_EQ(kernel().LiveAllocations(), 1u);  // the queue keeps the job alive
  EXPECT_EQ(jobs().RunMainThreadJobs(), 1);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}

TEST_F(JobTest, ReturnOnCancelGivesUpAfterTheTimeout) {
  std::atomic<int> ran{0};
  double timeout = 0.01;
  std::thread worker([&] {
    RunOnMainThread([&ran] { ++ran; }, WAITMODE::RETURN_ON_CANCEL, timeout);
  });
  worker.join();  // nobody drained the queue: the wait timed out and the job was cancelled
  EXPECT_EQ(timeout, 0.0);
  // The timed wait, the cancel, a wait without limit, then the result with no time left.
  EXPECT_EQ(Waits(host().CallsTo(kWait)), (Waited{{0.01, 1}, {kUnlimited, 1}}));
  EXPECT_EQ(host().CountCalls(kCancel), 1u);
  EXPECT_EQ(Waits(host().CallsTo(kGetResult)), (Waited{{0.0, 1}}));
  EXPECT_EQ(jobs().RunMainThreadJobs(), 0);
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}

TEST_F(JobTest, WithoutMemoryTheCallerWaitsForTheMainThread) {
  kernel().FailAllocation(kernel().AllocationCount() + 1);
  std::atomic<int> ran{0};
  std::atomic<bool> returned{false};
  OnWorker([&] {
    double timeout = kNoTimeLimit;
    RunOnMainThread([&ran] { ++ran; }, WAITMODE::DONT_WAIT, timeout);
    // Even without waiting asked for, the job on the stack had to run first.
    EXPECT_EQ(ran, 1);
    returned = true;
  });
  EXPECT_TRUE(returned);
  // Whatever the caller asked for, the job on the stack is waited for without limit.
  EXPECT_EQ(Waits(host().CallsTo(kWait)), (Waited{{kUnlimited, 0}}));
  EXPECT_EQ(Waits(host().CallsTo(kGetResult)), (Waited{{kUnlimited, 0}}));
  EXPECT_EQ(jobs().Enqueued(), 1);
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}

TEST_F(JobTest, HostStateScopeRunsEachTransitionOnce) {
  {
    HostStateScope idle(false);
  }
  EXPECT_EQ(host().CountCalls(entry::HostState), 0u);
  {
    HostStateScope scope(false);
    scope.Begin();
    scope.Begin();
    EXPECT_EQ(host().CountCalls(entry::HostState), 1u);
  }
  const auto calls = host().CallsTo(entry::HostState);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Int(0), 3);
  EXPECT_EQ(calls[1].Int(0), 2);
  {
    HostStateScope scope(true);
    scope.End();
    scope.End();
  }
  EXPECT_EQ(host().CountCalls(entry::HostState), 4u);
}

// From a worker the state changes are posted to the main thread and not waited
// for: the worker returns before the main thread has run either of them.
TEST_F(JobTest, HostStateScopeOnAWorkerDoesNotWait) {
  std::atomic<bool> returned{false};
  std::thread worker([&returned] {
    HostStateScope scope(true);
    scope.End();
    returned = true;
  });
  // A worker that waits would wait for ever: give it a while, then let the main
  // thread run its jobs so that the test ends either way.
  for (int i = 0; i < 500 && !returned; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const bool returnedAlone = returned.load();
  if (!returnedAlone) jobs().RunMainThreadUntil([&returned] { return returned.load(); });
  worker.join();
  ASSERT_TRUE(returnedAlone) << "the worker waited for the main thread";
  EXPECT_TRUE(host().CallsTo(kWait).empty());
  EXPECT_TRUE(host().CallsTo(kGetResult).empty());
  EXPECT_EQ(host().CountCalls(entry::HostState), 0u);
  EXPECT_EQ(jobs().RunMainThreadJobs(), 2);
  const auto calls = host().CallsTo(entry::HostState);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Int(0), 3);
  EXPECT_EQ(calls[1].Int(0), 2);
}

TEST(ClosureJob, LayoutOfTheHostStateJob) {
  std::int32_t state = 3;  // not a constant: the lambda holds it
  auto work = [state] { SetHostState(state); };
  static_assert(sizeof(ClosureJob<decltype(work)>) == 32);
  ClosureJob<decltype(work)> job(work, false);
  // After the virtual table: the implementation record, then the state word.
  const auto* implementation = testhost::ReadAt<const JobImplementation*>(&job, testhost::job::kImplementation);
  EXPECT_STREQ(implementation->typeName(0), "ClosureJob");
  EXPECT_EQ(implementation->typeName(1), nullptr);
  EXPECT_EQ(testhost::ReadAt<std::uintptr_t>(&job, testhost::job::kState), 0u);
}

// A host that does not take the job: nothing is waited for or collected, and the
// caller's reference is given back, which ends the job.
class JobNotTakenTest : public JobTest {
  void Configure(testhost::Kernel& k) override {
    k.UnpublishMethod("net.hostapp.threadservices", published::ThreadServices::Enqueue);
  }
};

TEST_F(JobNotTakenTest, NothingIsWaitedForAndTheJobEnds) {
  std::atomic<int> ran{0};
  std::thread worker([&] {
    double timeout = kNoTimeLimit;
    RunOnMainThread([&ran] { ++ran; }, WAITMODE::DEFAULT, timeout);
  });
  worker.join();
  EXPECT_EQ(ran, 0);
  EXPECT_TRUE(host().CallsTo(kWait).empty());
  EXPECT_TRUE(host().CallsTo(kGetResult).empty());
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
}
