// Platforms where the program sets no budget: a reader takes what the system gives.
#include <new>

#include "memory_budget.h"

namespace cli {

namespace {

bool g_ranOut = false;

void OnFailedAllocation() {
  g_ranOut = true;
  throw std::bad_alloc();
}

}  // namespace

std::uint64_t DefaultMemoryBudget() { return kUnlimited; }

std::uint64_t ApplyMemoryBudget(std::uint64_t) {
  std::set_new_handler(OnFailedAllocation);
  return kUnlimited;
}

bool MemoryRanOut() { return g_ranOut; }

}  // namespace cli
