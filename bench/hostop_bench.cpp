// The cost of a host operation wrapper against a direct call through the same
// table pointer.
#include <cstdio>

#include "host_scene.h"
#include "testhost/host.h"
#include "timing.h"

namespace {

__attribute__((noinline)) std::int32_t CountEntry(BaseObject*, std::int32_t type) { return type & 1; }

using CountFunction = std::int32_t (*)(BaseObject*, std::int32_t);

__attribute__((noinline)) std::int64_t DirectCalls(int count) {
  std::int64_t sum = 0;
  for (int i = 0; i < count; ++i) {
    // Load the table, load the entry, call: what the wrapper does, written by hand.
    const void* table = *static_cast<void* volatile*>(&t_HostOS_Bo);
    const auto entry = *reinterpret_cast<const CountFunction*>(static_cast<const char*>(table) + 312);
    sum += entry(nullptr, i);
  }
  return sum;
}

__attribute__((noinline)) std::int64_t WrapperCalls(int count) {
  std::int64_t sum = 0;
  for (int i = 0; i < count; ++i) sum += TagElementCount(nullptr, i);
  return sum;
}

}  // namespace

int main() {
  auto host = testhost::Host::TablesOnly();
  host->SetRawEntry(testhost::entry::TagElementCount, reinterpret_cast<void*>(&CountEntry));
  BindHostTables(reinterpret_cast<const HostOS*>(&host->Record()));
  constexpr int kCalls = 10'000'000;
  constexpr int kRuns = 15;
  std::int64_t sink = 0;
  const double direct = bench::MedianMicroseconds(kRuns, [&] { sink += DirectCalls(kCalls); });
  const double wrapper = bench::MedianMicroseconds(kRuns, [&] { sink += WrapperCalls(kCalls); });
  std::printf("Host operation calls (%d calls, median of %d runs)\n", kCalls, kRuns);
  bench::Report("direct call through the table pointer (baseline)", direct, direct);
  bench::Report("HostOp wrapper (TagElementCount)", wrapper, direct);
  std::printf("per call: direct %.2f ns, wrapper %.2f ns   (checksum %lld)\n", direct * 1000.0 / kCalls,
              wrapper * 1000.0 / kCalls, static_cast<long long>(sink));
  return 0;
}
