#include "testhost/jobs.h"

#include <chrono>

#include "refcount.h"
#include "testhost/host.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

struct JobImplementationWords {
  void (*destroy)(core::JobObject*);
  void (*run)(core::JobObject*);
  const char* (*typeName)(std::int32_t);
};

const JobImplementationWords* Implementation(core::JobObject* job) {
  return *reinterpret_cast<const JobImplementationWords* const*>(reinterpret_cast<const char*>(job) + 8);
}

}  // namespace

JobSystem::JobSystem(Kernel& kernel) : kernel_(kernel) {
  queue_ = static_cast<core::QueueObject*>(kernel_.NewObject(sizeof(void*), kernel_.PlainDescriptor(), nullptr, false));
}

JobSystem::~JobSystem() = default;

core::ErrorRef JobSystem::Enqueue(core::JobObject* job, core::QueueObject* queue) {
  if (job == nullptr) return nullptr;
  if (queue != queue_) kernel_.HostRef().Fail("a job was enqueued on a queue the host does not know");
  core::AddReference(job);  // the queue holds the job
  {
    std::lock_guard<std::mutex> lock(mutex_);
    states_[job] = State{};
    mainQueue_.push_back(job);
    ++enqueued_;
  }
  changed_.notify_all();
  return nullptr;
}

std::size_t JobSystem::Queued() {
  std::lock_guard<std::mutex> lock(mutex_);
  return mainQueue_.size();
}

void JobSystem::Drop(core::JobObject* job) {
  if (core::DropReference(job)) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      states_.erase(job);
    }
    Implementation(job)->destroy(job);
  }
}

int JobSystem::RunMainThreadJobs() {
  int ran = 0;
  for (;;) {
    core::JobObject* job = nullptr;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (mainQueue_.empty()) break;
      job = mainQueue_.front();
      mainQueue_.pop_front();
    }
    Implementation(job)->run(job);
    ++ran;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      states_[job].done = true;
    }
    changed_.notify_all();
    Drop(job);  // the queue's reference
  }
  return ran;
}

bool JobSystem::WaitDone(std::unique_lock<std::mutex>& lock, core::JobObject* job, double timeout) {
  auto isDone = [&] {
    auto found = states_.find(job);
    return found == states_.end() || found->second.done;
  };
  if (timeout > 1e9) {
    changed_.wait(lock, isDone);
    return true;
  }
  return changed_.wait_for(lock, std::chrono::duration<double>(timeout), isDone);
}

bool JobSystem::Wait(core::JobObject* job, double timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return WaitDone(lock, job, timeout);
}

core::ErrorRef JobSystem::GetResult(core::JobObject* job, double timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  WaitDone(lock, job, timeout);
  return nullptr;
}

void JobSystem::Cancel(core::JobObject* job) {
  bool removed = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = mainQueue_.begin(); it != mainQueue_.end(); ++it) {
      if (*it != job) continue;
      mainQueue_.erase(it);
      states_[job].done = true;
      states_[job].cancelled = true;
      removed = true;
      break;
    }
  }
  changed_.notify_all();
  if (removed) Drop(job);
}

void JobSystem::RemoveReference(core::JobObject* job) { Drop(job); }

}  // namespace testhost
