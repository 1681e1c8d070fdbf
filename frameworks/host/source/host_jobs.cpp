#include "host_jobs.h"

#include "configuration.h"
#include "error.h"
#include "object.h"
#include "refcount.h"

namespace jobs {
namespace {

using iface::JobQueue;
using iface::ThreadServices;

constexpr core::SourceLocation kJobAllocation{"core/job", 1611, 0};
constexpr core::SourceLocation kOutOfMemory{"core/resultbase", 1259, 0};

// Puts the job on the main-thread queue, holding a reference to the queue while it
// does; true when the host took the job. Without a job it only touches the queue.
bool Enqueue(core::JobObject* job) {
  core::QueueObject* queue = core::Method<JobQueue, JobQueue::GetMainThreadQueue>();
  if (queue == nullptr) return false;
  core::AddReference(queue);
  bool queued = false;
  if (job != nullptr) {
    const core::ErrorRef error = core::Method<ThreadServices, ThreadServices::Enqueue>(job, queue);
    queued = error == nullptr;
    core::ReleaseError(error);
  }
  if (core::DropReference(queue)) core::Method<JobQueue, JobQueue::Free>(queue);
  return queued;
}

}  // namespace

bool OnMainThread() {
  return core::Method<ThreadServices, ThreadServices::GetCurrentThreadType>() ==
         static_cast<int32_t>(THREADTYPE::MAIN);
}

void* AllocateJob(size_t size) { return core::FrameworkAlloc(size, kJobAllocation); }

void EnqueueAndFinish(core::JobObject* job, WAITMODE mode, double& timeout) {
  // A job the host did not take is never waited for: there is nothing to wait on.
  const bool queued = Enqueue(job);
  const auto waitMode = static_cast<int32_t>(mode);
  if (queued && mode != WAITMODE::DONT_WAIT) {
    if (mode == WAITMODE::RETURN_ON_CANCEL &&
        !core::Method<ThreadServices, ThreadServices::Wait>(job, timeout, waitMode)) {
      core::Method<ThreadServices, ThreadServices::Cancel>(job);
      core::Method<ThreadServices, ThreadServices::Wait>(job, kNoTimeLimit, waitMode);
      timeout = 0;
    }
    core::ReleaseError(core::Method<ThreadServices, ThreadServices::GetResult>(job, timeout, waitMode));
  }
  core::Method<ThreadServices, ThreadServices::RemoveJobReference>(job);
}

bool PrepareInPlace() {
  const core::ErrorRef error = core::CreateError(kOutOfMemory, core::kErrorOutOfMemory);
  if (error == nullptr) {
    Enqueue(nullptr);
    return false;
  }
  core::ReleaseError(error);
  return true;
}

void RunInPlace(core::JobObject* job, int64_t* countWord) {
  if (!Enqueue(job)) return;  // the host did not take it: no reference to wait out
  const auto waitMode = static_cast<int32_t>(WAITMODE::DEFAULT);
  core::Method<ThreadServices, ThreadServices::Wait>(job, kNoTimeLimit, waitMode);
  // The stack memory may be left only when the job system holds no reference to it.
  core::CpuYieldState spin{0, core::kCpuYieldStartDelay, nullptr};
  while ((__atomic_load_n(countWord, __ATOMIC_ACQUIRE) & ~int64_t{15}) != 16) core::CpuYield(spin);
  core::EndCpuYieldWait(spin);
  core::ReleaseError(core::Method<ThreadServices, ThreadServices::GetResult>(job, kNoTimeLimit, waitMode));
}

}  // namespace jobs

// ---- host state scope ----

namespace {
constexpr int32_t kStateBegin = 3;
constexpr int32_t kStateEnd = 2;

void ChangeHostState(int32_t state) {
  double timeout = kNoTimeLimit;
  RunOnMainThread([state] { SetHostState(state); }, WAITMODE::DONT_WAIT, timeout);
}
}  // namespace

HostStateScope::HostStateScope(bool begin) {
  active = false;
  if (begin) Begin();
}

HostStateScope::~HostStateScope() { End(); }

void HostStateScope::Begin() {
  if (active) return;
  ChangeHostState(kStateBegin);
  active = true;
}

void HostStateScope::End() {
  if (!active) return;
  ChangeHostState(kStateEnd);
  active = false;
}
