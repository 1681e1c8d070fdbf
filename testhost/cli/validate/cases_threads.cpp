// Threads: the plug-in's one facility that crosses threads, the hand-over of work
// to the host's main thread, driven from many worker threads at once while the
// main thread keeps the dialog counting (scene changes, option toggles, pauses)
// and runs the queued jobs between its messages, as the host does. Every job a
// worker posts must run exactly once, on the main thread, or be handed back when
// the host refuses it; a worker whose job could not be allocated must wait until
// the main thread has run it; the counts must be those of a quiet run of the same
// messages; nothing may be left at unload.
//
// The jobs are reached through the library's symbol table (job_code.h): a library
// without one skips these cases.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "cases.h"
#include "job_accounting.h"
#include "job_code.h"
#include "job_posting.h"
#include "recounting_dialog.h"
#include "testhost/host.h"

namespace validate {

namespace {

using Clock = std::chrono::steady_clock;

int Threads(int level) { return std::min(16, 2 + 2 * level); }

// Many workers post jobs while the main thread recounts and runs the queue.
void JobsWhileRecounting(const Profile& profile, const CaseContext& context, CaseResult& result) {
  const std::vector<Step> steps = Steps(context.seed, 30 * context.level);
  const std::vector<Fields> expected = QuietRun(context, steps, result);
  if (!result.passed) return;

  testhost::Host host(context.plugin);
  ScopeCode code;
  if (!ReachScopeCode(host, code, result)) return;
  InjectFaults(host);
  testhost::JobSystem& jobs = host.Framework().Jobs();
  OpenDialog dialog = Open(host, result);
  if (dialog.window == nullptr) {
    Close(host, dialog);
    return;
  }

  const int threads = Threads(context.level);
  // Each worker uses scopes for as long as the main thread has steps to make (at
  // least `least`, at most `most`), held back while the queue is full.
  const long least = 25L * context.level;
  const long most = 1000L * context.level;
  const std::size_t queueBound = 16 * static_cast<std::size_t>(threads);
  std::atomic<bool> go{false}, stop{false};
  std::atomic<int> finished{0};
  std::atomic<long> used{0};  // scopes used by all workers
  std::vector<Tally> tallies(static_cast<std::size_t>(threads));
  std::vector<std::thread> workers;
  for (int w = 0; w < threads; ++w) {
    workers.emplace_back([&, w] {
      Tally& tally = tallies[static_cast<std::size_t>(w)];
      std::mt19937_64 random(context.seed * 1000003 + static_cast<std::uint64_t>(w) + 1);
      while (!go) std::this_thread::yield();
      for (long mine = 0; mine < most && (mine < least || !stop); ++mine) {
        // Keep the queue within bounds: the main thread drains it between steps.
        while (jobs.Queued() > queueBound && !stop) std::this_thread::yield();
        UseScope(code, tally, random, profile);
        ++used;
      }
      ++finished;
    });
  }

  long ran = 0;
  std::size_t mismatch = steps.size();
  go = true;
  const Clock::time_point pacing = Clock::now() + std::chrono::seconds(300);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    // Each step waits, running the queue, until the workers have come as far with
    // their least share: the recounts spread over the whole of the posting.
    const long due = static_cast<long>(i) * threads * least / static_cast<long>(steps.size());
    while (used < due && finished < threads && Clock::now() < pacing) {
      const int n = jobs.RunMainThreadJobs();
      ran += n;
      if (n == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    Apply(host, dialog, steps[i]);
    ran += jobs.RunMainThreadJobs();
    if (mismatch == steps.size() && FieldsOf(*dialog.window) != expected[i]) mismatch = i;
  }
  const long ranWhileRecounting = ran;
  stop = true;
  // The workers still posting, and those waiting for a job built in place, need
  // the main thread to keep running the queue.
  const Clock::time_point limit = Clock::now() + std::chrono::seconds(300);
  while (finished < threads && Clock::now() < limit) {
    const int n = jobs.RunMainThreadJobs();
    ran += n;
    if (n == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (finished < threads) {
    // A worker that never returns cannot be joined, nor the library unloaded under it.
    result.Fail("a worker was still posting or waiting for its job after 300 s");
    Abandon(result);
  }
  for (std::thread& worker : workers) worker.join();
  ran += jobs.RunMainThreadJobs();

  Tally total;
  for (const Tally& tally : tallies) total.Add(tally);
  result.figures["threads"] = threads;
  result.figures["jobs posted"] = static_cast<double>(total.posted);
  result.figures["jobs run"] = static_cast<double>(ran);
  result.figures["jobs run between recounts"] = static_cast<double>(ranWhileRecounting);
  result.figures["main-thread steps"] = static_cast<double>(steps.size());
  if (profile.refuseOneIn > 0) result.figures["jobs refused"] = static_cast<double>(total.refused);
  if (profile.failOneIn > 0) result.figures["jobs built in place"] = static_cast<double>(total.inPlace);
  if (total.dropped > 0) result.figures["posts given up"] = static_cast<double>(total.dropped);

  // Every fault the host saw while the threads ran comes first.
  TakeFaults(host, result);
  if (!total.fault.empty()) result.Fail(total.fault);
  if (mismatch < steps.size())
    result.Fail("after step " + std::to_string(mismatch) + " the dialog showed " +
                Describe(FieldsOf(*dialog.window)) + " where a run without threads showed " +
                Describe(expected[mismatch]));
  CheckJobAccounting(host, total, ran, result);

  Close(host, dialog);
  TakeFaults(host, result);
  if (host.Framework().LiveAllocations() != 0) result.Fail("framework memory left at unload");
}

// On the main thread the work runs at once: nothing is allocated or queued.
void MainThreadRunsAtOnce(const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  ScopeCode code;
  if (!ReachScopeCode(host, code, result)) return;
  host.Init();
  host.Message(testhost::pluginmessage::kLoadResources);
  host.Start();
  const int allocations = host.Framework().AllocationCount();
  const std::vector<std::int32_t>& states = host.ApplicationModel().hostStates;
  alignas(8) unsigned char scope[8] = {};
  host.IntoPlugin([&] {
    code.construct(scope, true);
    if (states != std::vector<std::int32_t>{kBegin}) result.Fail("the begin did not run at once");
    code.end(scope);
    code.destroy(scope);
    return 0;
  });
  if (states != std::vector<std::int32_t>{kBegin, kEnd}) result.Fail("the end did not run at once, or ran twice");
  if (host.Framework().AllocationCount() != allocations) result.Fail("work on the main thread allocated a job");
  if (host.Framework().Jobs().Enqueued() != 0) result.Fail("work on the main thread was queued");
  host.End();
  host.Unload();
  TakeFaults(host, result);
}

// A lone worker whose job cannot be allocated waits until the main thread has run
// it, then the storm.
void WithoutMemory(const Profile& profile, const CaseContext& context, CaseResult& result) {
  {
    testhost::Host host(context.plugin);
    ScopeCode code;
    if (!ReachScopeCode(host, code, result)) return;
    InjectFaults(host);
    host.Init();
    host.Start();
    testhost::JobSystem& jobs = host.Framework().Jobs();
    std::atomic<bool> returned{false};
    std::thread lone([&] {
      alignas(8) unsigned char scope[8] = {};
      FailNextAllocations(1);
      code.construct(scope, true);
      FailNextAllocations(0);
      returned = true;
      code.destroy(scope);
    });
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(60);
    while (jobs.Queued() == 0 && !returned && Clock::now() < limit) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (returned) result.Fail("a worker whose job was built in place returned before the main thread ran it");
    jobs.RunMainThreadUntil([&] { return returned.load(); }, 60);
    lone.join();
    jobs.RunMainThreadJobs();
    if (host.ApplicationModel().hostStates != std::vector<std::int32_t>{kBegin, kEnd})
      result.Fail("the lone worker's two jobs did not each run once");
    host.End();
    host.Unload();
    TakeFaults(host, result);
    if (host.Framework().LiveAllocations() != 0) result.Fail("framework memory left at unload");
  }
  if (result.passed) JobsWhileRecounting(profile, context, result);
}

// The storm with the faults of `profile`, as a case's body.
auto Storm(Profile profile) {
  return [profile](const CaseContext& context, CaseResult& result) { JobsWhileRecounting(profile, context, result); };
}

}  // namespace

void AddThreadCases(std::vector<Case>& cases) {
  const Requirements onMainThread = {Requirement::kSymbolTable};
  const Requirements withWorkers = {Requirement::kSymbolTable, Requirement::kThreads};
  cases.push_back({"threads.main-thread-at-once", 1, false, onMainThread,
                   "job code called on the main thread runs at once: nothing allocated, nothing queued",
                   MainThreadRunsAtOnce});
  cases.push_back({"threads.jobs-while-recounting", 1, true, withWorkers,
                   "main-thread jobs posted from many worker threads while the main thread recounts: each runs "
                   "once, in order, and the counts are those of a run without threads",
                   Storm(Profile{})});
  cases.push_back({"threads.jobs-refused", 2, true, withWorkers,
                   "jobs posted from many worker threads while the main thread recounts, the host refusing one in "
                   "four: a refused job is handed back, the others run once",
                   Storm(Profile{4, 0})});
  cases.push_back({"threads.jobs-without-memory", 2, true, withWorkers,
                   "a worker whose job cannot be allocated waits until the main thread has run it; then jobs from "
                   "many workers while the main thread recounts, one job allocation in four failing",
                   [](const CaseContext& context, CaseResult& result) { WithoutMemory(Profile{0, 4}, context, result); }});
  cases.push_back({"threads.jobs-refused-without-memory", 2, true, withWorkers,
                   "jobs from many workers while the main thread recounts, the host refusing one in three and one "
                   "job allocation in three failing",
                   Storm(Profile{3, 3})});
}

}  // namespace validate
