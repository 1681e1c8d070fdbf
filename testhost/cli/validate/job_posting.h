#pragma once
// The workers' side of the thread cases: scopes used in every way, each post with
// the host's faults a worker asked for, and a tally of what the host must have
// seen in return.
#include <cstdint>
#include <random>
#include <string>

#include "job_code.h"
#include "testhost/host.h"

namespace validate {

constexpr std::int32_t kBegin = testhost::hoststate::kBegin;
constexpr std::int32_t kEnd = testhost::hoststate::kEnd;

// How often a worker asks for a fault.
struct Profile {
  int refuseOneIn = 0;  // 0: the host takes every job
  int failOneIn = 0;    // 0: every job is allocated
};

// What a worker did and therefore expects.
struct Tally {
  long posted = 0;            // calls that post a job
  long handedOver = 0;        // jobs that reached the host
  long refused = 0;           // of them refused
  long inPlace = 0;           // jobs built on the worker's stack for want of memory
  long waited = 0;            // in-place jobs the host took: each one waited for
  long dropped = 0;           // posts that never reached the host for want of memory
  long begins = 0, ends = 0;  // jobs that must run, by the state they set
  std::string fault;

  void Add(const Tally& other);
};

// Lets each worker fail its own next allocations and have its own next job refused,
// so that it knows exactly which of its posts met a fault.
void InjectFaults(testhost::Host& host);

// Asks the calling thread's next allocations to fail (0: none).
void FailNextAllocations(int count);

// One use of a scope, of a kind drawn from `random`, each post with the faults
// drawn for it by `profile`.
void UseScope(const ScopeCode& code, Tally& tally, std::mt19937_64& random, const Profile& profile);

}  // namespace validate
