#pragma once
// Handing work to the host's main thread: at once when already there, otherwise
// through a closure job on the host's main-thread job queue.
#include <stdint.h>

#include "memory.h"
#include "interfaces.h"
#include "operatingsystem.h"

enum class THREADTYPE : int32_t { MAIN = 0, WORKER = 1, STANDALONE = 2, ALIEN = 3, ASSIMILATED = 4 };
enum class WAITMODE : int32_t {
  DEFAULT = 0, RETURN_ON_CANCEL = 1, PRIVATE_BLOCKING = 2, EXTERNAL_ENQUEUE = 4, DONT_WAIT = 128,
};
inline constexpr double kNoTimeLimit = 1.7976931348623157e308;

// The job's implementation record: destroy, run, and the type name ("ClosureJob";
// null when asked with a non-zero flag).
struct JobImplementation {
  void (*destroy)(core::JobObject* job);
  void (*run)(core::JobObject* job);
  const char* (*typeName)(int32_t flag);
};
static_assert(sizeof(JobImplementation) == 24);

// The framework's job base class: its only virtual operation is the destructor.
class JobInterfaceBase : public core::FrameworkAllocated {
 public:
  virtual ~JobInterfaceBase() = default;
};

// A job holding one callable and its captured values.
template <typename Work>
class ClosureJob final : public JobInterfaceBase {
 public:
  ClosureJob(const Work& work, bool inPlace)
      : implementation_(inPlace ? &kInPlace : &kOnHeap), state_(0), work_(work) {}

  core::JobObject* Object() { return reinterpret_cast<core::JobObject*>(this); }

 private:
  static ClosureJob* Self(core::JobObject* job) { return reinterpret_cast<ClosureJob*>(job); }
  static void Run(core::JobObject* job) { Self(job)->work_(); }
  // A job on the heap goes with its storage (the count word sits before it).
  static void DestroyOnHeap(core::JobObject* job) {
    Self(job)->~ClosureJob();
    core::FrameworkFree(reinterpret_cast<char*>(job) - 8);
  }
  // A job built on the caller's stack only ends its life; the caller owns the storage.
  static void DestroyInPlace(core::JobObject* job) { Self(job)->~ClosureJob(); }
  static const char* TypeName(int32_t flag) { return flag != 0 ? nullptr : "ClosureJob"; }

  static constexpr JobImplementation kOnHeap{&DestroyOnHeap, &Run, &TypeName};
  static constexpr JobImplementation kInPlace{&DestroyInPlace, &Run, &TypeName};

  const JobImplementation* implementation_;
  uintptr_t state_;
  Work work_;
};

namespace jobs {
bool OnMainThread();
void* AllocateJob(size_t size);
// Enqueues on the main-thread queue, then waits as `mode` says and drops the
// caller's reference.
void EnqueueAndFinish(core::JobObject* job, WAITMODE mode, double& timeout);
// The fallback when no job could be allocated: runs `job` (built on the caller's
// stack behind `countWord`) on the main thread and returns when the job system
// holds no reference to it any more. False when not even the error could be made.
bool PrepareInPlace();
void RunInPlace(core::JobObject* job, int64_t* countWord);
}  // namespace jobs

template <typename Work>
void RunOnMainThread(const Work& work, WAITMODE mode, double& timeout) {
  if (jobs::OnMainThread()) {
    work();
    return;
  }
  using Job = ClosureJob<Work>;
  if (void* block = jobs::AllocateJob(8 + sizeof(Job))) {
    *static_cast<int64_t*>(block) = 16;
    Job* job = ::new (core::At(static_cast<char*>(block) + 8)) Job(work, false);
    jobs::EnqueueAndFinish(job->Object(), mode, timeout);
    return;
  }
  if (!jobs::PrepareInPlace()) return;
  alignas(64) unsigned char storage[64 + sizeof(Job)];
  auto* countWord = reinterpret_cast<int64_t*>(storage + 56);
  *countWord = 16;
  Job* job = ::new (core::At(storage + 64)) Job(work, true);
  jobs::RunInPlace(job->Object(), countWord);
  job->~Job();
}

// Keeps the host state of general entry 80 at 3 while active.
inline constexpr HostOp<&t_HostOS_Ge, 80, void(int32_t)> SetHostState{};

class HostStateScope {
 public:
  explicit HostStateScope(bool begin);
  ~HostStateScope();
  HostStateScope(const HostStateScope&) = delete;
  HostStateScope& operator=(const HostStateScope&) = delete;
  void Begin();
  void End();

 private:
  bool active;
};
static_assert(sizeof(HostStateScope) == 1);
