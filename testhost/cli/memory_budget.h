#pragma once
// The memory the program may take. A small file can declare more than it holds
// (billions of points in a header of a few hundred bytes), and a reader then asks
// for all of it; under the budget that request fails, and the program ends with
// one line naming the file instead of taking the machine's memory.
#include <cstdint>
#include <string>

namespace cli {

inline constexpr std::uint64_t kUnlimited = UINT64_MAX;
// The least budget the program runs in: its libraries alone take most of it.
inline constexpr std::uint64_t kLeastBudget = 256ull << 20;

// "512M", "4G", "1536K", "4000000000" (bytes) or "unlimited", for `option`;
// throws UsageError for anything else, or for a size out of range.
std::uint64_t ParseMemorySize(const std::string& option, const std::string& text);
// "512 MiB", "1.5 GiB".
std::string DescribeMemorySize(std::uint64_t bytes);

// Half of the machine's memory.
std::uint64_t DefaultMemoryBudget();
// Holds the process to `bytes` of address space (never above a limit already
// set); answers the budget in force, or kUnlimited where this build cannot hold
// it: the sanitizers reserve more address space than any budget.
std::uint64_t ApplyMemoryBudget(std::uint64_t bytes);
// Whether an allocation has failed since the budget was applied.
bool MemoryRanOut();

}  // namespace cli
