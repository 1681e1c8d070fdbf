#include "job_posting.h"
#include "testhost/host.h"

namespace validate {

namespace {

// Asked on the allocating (enqueuing) thread, so that each worker knows exactly
// which of its own posts met a fault.
thread_local int t_failingAllocations = 0;  // this thread's next allocations fail
thread_local bool t_refuseJob = false;      // the next job this thread hands over is refused
thread_local bool t_handedOver = false;     // a job of this thread reached Enqueue
thread_local bool t_refused = false;        // ... and was refused

// One call of the scope that posts the job setting `state`, with the faults drawn
// for it.
template <typename Call>
void Post(Tally& tally, std::mt19937_64& random, const Profile& profile, std::int32_t state, Call call) {
  const bool refuse = profile.refuseOneIn > 0 && random() % static_cast<unsigned>(profile.refuseOneIn) == 0;
  const bool fail = profile.failOneIn > 0 && random() % static_cast<unsigned>(profile.failOneIn) == 0;
  // Sometimes the error that reports the failure cannot be copied either.
  const int failing = fail ? 1 + static_cast<int>(random() % 2) : 0;
  t_refuseJob = refuse;
  t_handedOver = false;
  t_refused = false;
  t_failingAllocations = failing;
  call();
  // The job's own allocation comes first: with any failure asked for, it failed.
  const bool inPlace = failing > 0 && t_failingAllocations < failing;
  t_failingAllocations = 0;
  t_refuseJob = false;
  ++tally.posted;
  if (failing > 0 && !inPlace && tally.fault.empty())
    tally.fault = "a post from a worker allocated no job";
  if (inPlace) ++tally.inPlace;
  if (!t_handedOver) {
    // Without memory even for the error the work may be given up; otherwise every
    // post must reach the host.
    if (failing > 0) ++tally.dropped;
    else if (tally.fault.empty()) tally.fault = "a job posted from a worker never reached the host";
    return;
  }
  ++tally.handedOver;
  if (t_refused) {
    ++tally.refused;
    return;
  }
  if (inPlace) ++tally.waited;
  (state == kBegin ? tally.begins : tally.ends) += 1;
}

// A call of the scope that must post nothing.
template <typename Call>
void Quiet(Tally& tally, Call call) {
  t_handedOver = false;
  call();
  if (t_handedOver && tally.fault.empty()) tally.fault = "a scope call that changes nothing posted a job";
}

}  // namespace

void Tally::Add(const Tally& other) {
  posted += other.posted;
  handedOver += other.handedOver;
  refused += other.refused;
  inPlace += other.inPlace;
  waited += other.waited;
  dropped += other.dropped;
  begins += other.begins;
  ends += other.ends;
  if (fault.empty()) fault = other.fault;
}

void InjectFaults(testhost::Host& host) {
  host.Framework().FailAllocations([](int) {
    if (t_failingAllocations == 0) return false;
    --t_failingAllocations;
    return true;
  });
  host.Framework().Jobs().RefuseJobs([] {
    t_handedOver = true;
    t_refused = t_refuseJob;
    t_refuseJob = false;
    return t_refused;
  });
}

void FailNextAllocations(int count) { t_failingAllocations = count; }

// Four kinds: begun at once and ended; begun twice (the second does nothing) and
// ended by the destructor; never begun; ended twice and begun again.
void UseScope(const ScopeCode& code, Tally& tally, std::mt19937_64& random, const Profile& profile) {
  alignas(8) unsigned char scope[8] = {};
  switch (random() % 4) {
    case 0:
      Post(tally, random, profile, kBegin, [&] { code.construct(scope, true); });
      Post(tally, random, profile, kEnd, [&] { code.end(scope); });
      Quiet(tally, [&] { code.destroy(scope); });
      break;
    case 1:
      Quiet(tally, [&] { code.construct(scope, false); });
      Post(tally, random, profile, kBegin, [&] { code.begin(scope); });
      Quiet(tally, [&] { code.begin(scope); });
      Post(tally, random, profile, kEnd, [&] { code.destroy(scope); });
      break;
    case 2:
      Quiet(tally, [&] { code.construct(scope, false); });
      Quiet(tally, [&] { code.destroy(scope); });
      break;
    default:
      Post(tally, random, profile, kBegin, [&] { code.construct(scope, true); });
      Post(tally, random, profile, kEnd, [&] { code.end(scope); });
      Quiet(tally, [&] { code.end(scope); });
      Post(tally, random, profile, kBegin, [&] { code.begin(scope); });
      Post(tally, random, profile, kEnd, [&] { code.destroy(scope); });
      break;
  }
}

}  // namespace validate
