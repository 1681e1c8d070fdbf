#include "testhost/jobs.h"

#include "testhost/plugin_calls.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

// The job's count word, directly before it.
std::int64_t* CountWordOf(JobObject* job) {
  return reinterpret_cast<std::int64_t*>(reinterpret_cast<char*>(job) - 8);
}

using JobRoutine = void (*)(JobObject*);

JobRoutine Routine(JobObject* job, std::size_t which) {
  const auto* implementation = ReadAt<const unsigned char*>(job, job::kImplementation);
  return ReadAt<JobRoutine>(implementation, which);
}

}  // namespace

JobSystem::JobSystem(Kernel& kernel) : kernel_(kernel) {
  queue_ = static_cast<QueueObject*>(
      kernel_.NewObject(sizeof(void*), kernel_.PlainDescriptor(), nullptr, Owner::kHost, "main-thread queue", "the host"));
}

JobSystem::~JobSystem() = default;

void JobSystem::Enqueue(JobObject* job) {
  __atomic_fetch_add(CountWordOf(job), object::kReferenceUnit, __ATOMIC_RELAXED);  // the queue holds the job
  {
    std::lock_guard<std::mutex> lock(mutex_);
    held_.insert(job);
    mainQueue_.push_back(job);
    ++enqueued_;
  }
  changed_.notify_all();
}

std::size_t JobSystem::Queued() {
  std::lock_guard<std::mutex> lock(mutex_);
  return mainQueue_.size();
}

std::size_t JobSystem::Held() {
  std::lock_guard<std::mutex> lock(mutex_);
  return held_.size();
}

void JobSystem::Drop(JobObject* job) {
  if (__atomic_fetch_sub(CountWordOf(job), object::kReferenceUnit, __ATOMIC_ACQ_REL) < 2 * object::kReferenceUnit) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      held_.erase(job);
    }
    Routine(job, job::kDestroy)(job);
  }
}

int JobSystem::RunMainThreadJobs() {
  int ran = 0;
  for (;;) {
    JobObject* job = nullptr;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (mainQueue_.empty()) break;
      job = mainQueue_.front();
      mainQueue_.pop_front();
    }
    kernel_.Calls().Into([&] {
      Routine(job, job::kRun)(job);
      return 0;
    });
    ++ran;
    // The job is done and the host lets go of it: a caller that still holds its own
    // reference (a job built on its stack) is not one the host holds.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      held_.erase(job);
    }
    changed_.notify_all();
    Drop(job);  // the queue's reference
  }
  return ran;
}

bool JobSystem::WaitDone(std::unique_lock<std::mutex>& lock, JobObject* job, double timeout) {
  // A job the host holds no more has run, or was cancelled.
  auto isDone = [&] { return held_.count(job) == 0; };
  if (timeout > 1e9) {
    changed_.wait(lock, isDone);
    return true;
  }
  return changed_.wait_for(lock, std::chrono::duration<double>(timeout), isDone);
}

bool JobSystem::Wait(JobObject* job, double timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return WaitDone(lock, job, timeout);
}

void JobSystem::Cancel(JobObject* job) {
  bool removed = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = mainQueue_.begin(); it != mainQueue_.end(); ++it) {
      if (*it != job) continue;
      mainQueue_.erase(it);
      held_.erase(job);
      removed = true;
      break;
    }
  }
  changed_.notify_all();
  if (removed) Drop(job);
}

void JobSystem::RemoveReference(JobObject* job) { Drop(job); }

}  // namespace testhost
