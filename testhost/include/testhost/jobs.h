#pragma once
// The host's job system: a main-thread queue whose jobs run when the main thread
// drains it, and the waits other threads make on them. Jobs are the plug-in's
// objects; the host holds a reference to each queued job through its count word.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>

namespace testhost {

class Kernel;
struct JobObject;
struct QueueObject;

class JobSystem {
 public:
  explicit JobSystem(Kernel& kernel);
  ~JobSystem();

  // Runs the jobs queued for the main thread; call on the main thread.
  int RunMainThreadJobs();
  // Runs queued jobs until `done` holds (or the time limit passes).
  template <typename Predicate>
  bool RunMainThreadUntil(Predicate done, double seconds = 10.0);
  std::size_t Queued();
  int Enqueued() const { return enqueued_; }
  // Jobs the host still holds a reference to.
  std::size_t Held();

  // A host that refuses jobs: asked on the enqueuing thread for every job handed
  // over; a true answer makes Enqueue answer an error and leave the job alone.
  void RefuseJobs(std::function<bool()> refuse) { refuse_ = std::move(refuse); }
  bool Refuses() const { return refuse_ && refuse_(); }

  // The published methods.
  QueueObject* MainQueue() const { return queue_; }
  void Enqueue(JobObject* job);
  bool Wait(JobObject* job, double timeout);
  void Cancel(JobObject* job);
  void RemoveReference(JobObject* job);

 private:
  void Drop(JobObject* job);
  bool WaitDone(std::unique_lock<std::mutex>& lock, JobObject* job, double timeout);

  Kernel& kernel_;
  QueueObject* queue_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<JobObject*> mainQueue_;
  // Jobs the host holds through the queue: queued or running. A wait ends when its
  // job is no longer among them.
  std::set<JobObject*> held_;
  int enqueued_ = 0;
  std::function<bool()> refuse_;
};

template <typename Predicate>
bool JobSystem::RunMainThreadUntil(Predicate done, double seconds) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (RunMainThreadJobs() == 0) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait_for(lock, std::chrono::milliseconds(1));
    }
  }
  return true;
}

}  // namespace testhost
