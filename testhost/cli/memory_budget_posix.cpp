// The budget is a limit on the address space: a request beyond it fails at once,
// however the reader asks (new, malloc, a mapping), and the failure comes back as
// std::bad_alloc where the reader can be stopped.
#include <sys/resource.h>
#include <unistd.h>

#include <new>

#include "memory_budget.h"
#include "testhost/sanitizers.h"

namespace cli {

namespace {

constexpr bool kSanitizer = testhost::kAddressSanitizer || testhost::kThreadSanitizer;

bool g_ranOut = false;

void OnFailedAllocation() {
  g_ranOut = true;
  throw std::bad_alloc();
}

}  // namespace

std::uint64_t DefaultMemoryBudget() {
  const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return kUnlimited;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
}

std::uint64_t ApplyMemoryBudget(std::uint64_t bytes) {
  std::set_new_handler(OnFailedAllocation);
  rlimit limit{};
  if (kSanitizer || getrlimit(RLIMIT_AS, &limit) != 0) return kUnlimited;
  if (bytes != kUnlimited && (limit.rlim_cur == RLIM_INFINITY || bytes < limit.rlim_cur)) {
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (setrlimit(RLIMIT_AS, &limit) != 0) getrlimit(RLIMIT_AS, &limit);
  }
  return limit.rlim_cur == RLIM_INFINITY ? kUnlimited : static_cast<std::uint64_t>(limit.rlim_cur);
}

bool MemoryRanOut() { return g_ranOut; }

}  // namespace cli
