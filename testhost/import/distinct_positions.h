#pragma once
// Counting the distinct positions among arrays of millions of them, with next to no
// memory beside the arrays. A table of every position would be as large as the
// arrays again, and each insertion a cache miss. Instead each array is reordered in
// place into partitions by the top bits of each position's hash; a partition holds
// a few thousand positions, and the ones equal to each other land in the same
// partition of every array. Each partition is then counted in a table small enough
// to stay in the cache, reused from partition to partition.
//
// Positions are compared bit for bit, except that -0 and +0 are one position (the
// caller writes them as +0, see CanonicalZero). The arrays are reordered; nothing
// else about them changes.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "two_threads.h"

namespace testhost::input {

// The bits of a position as they are compared.
struct PositionBits {
  std::uint32_t x, y, z;
  bool operator==(const PositionBits& other) const = default;
};

inline std::uint32_t BitsOf(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// -0 written as +0, so that the two compare as one position.
inline float CanonicalZero(float value) { return value == 0.0f ? 0.0f : value; }

inline std::uint64_t HashOf(const PositionBits& p) {
  std::uint64_t h = ((std::uint64_t{p.x} << 32) | p.y) * 0x9E3779B97F4A7C15ull + p.z * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return h;
}

template <typename Vector>
PositionBits BitsOf(const Vector& v) {
  return {BitsOf(v.x), BitsOf(v.y), BitsOf(v.z)};
}

// Arrays of positions counted together, each reordered in place into partitions
// by the top `bits` of each position's hash.
template <typename Vector>
struct PositionRun {
  std::span<Vector> positions;
  int bits = -1;                     // -1: not partitioned yet
  std::vector<std::size_t> starts;  // where each partition begins, and the end
};

namespace distinct_detail {

// Positions per partition, on average: the table of one (twice as many slots of 16
// bytes) stays within a core's second-level cache.
inline constexpr std::size_t kPerPartition = 4096;
inline constexpr int kMostPartitionBits = 16;
// Counting at least this many positions is worth a second thread.
inline constexpr std::size_t kSplitAt = 1 << 16;

// An open-addressing table of positions, cleared between partitions.
class PositionTable {
 public:
  void Reset(std::size_t positions) {
    std::size_t capacity = 16;
    while (capacity < 2 * positions) capacity *= 2;
    if (slots_.size() < capacity) slots_.resize(capacity);
    std::fill(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(capacity), Slot{});
    mask_ = capacity - 1;
  }
  // Answers whether `p` was new.
  bool Insert(const PositionBits& p, std::uint64_t hash) {
    const std::uint32_t tag = static_cast<std::uint32_t>(hash >> 20) | 1u;
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      Slot& slot = slots_[i];
      if (slot.tag == 0) {
        slot = {p, tag};
        return true;
      }
      if (slot.tag == tag && slot.bits == p) return false;
    }
  }

 private:
  struct Slot {
    PositionBits bits{};
    std::uint32_t tag = 0;  // 0: empty
  };
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
};

// The distinct positions of partitions [first, last) over every run.
template <typename Vector>
std::uint64_t CountPartitions(const std::vector<PositionRun<Vector>*>& runs, std::size_t first, std::size_t last) {
  std::size_t largest = 0;
  for (std::size_t k = first; k < last; ++k) {
    std::size_t size = 0;
    for (const PositionRun<Vector>* run : runs) size += run->starts[k + 1] - run->starts[k];
    largest = std::max(largest, size);
  }
  PositionTable table;
  std::uint64_t distinct = 0;
  for (std::size_t k = first; k < last; ++k) {
    table.Reset(largest);
    for (const PositionRun<Vector>* run : runs)
      for (std::size_t i = run->starts[k]; i < run->starts[k + 1]; ++i) {
        const PositionBits bits = BitsOf(run->positions[i]);
        distinct += table.Insert(bits, HashOf(bits));
      }
  }
  return distinct;
}

}  // namespace distinct_detail

// How many top bits of the hash pick the partition for `total` positions.
inline int PartitionBits(std::size_t total) {
  int bits = 0;
  while (bits < distinct_detail::kMostPartitionBits && (total >> bits) > distinct_detail::kPerPartition) ++bits;
  return bits;
}

// Reorders `run` in place by partition (the top `bits` of the hash) and records
// where each partition starts: one pass to count, one to move each position once.
template <typename Vector>
void Partition(PositionRun<Vector>& run, int bits) {
  const std::size_t partitions = std::size_t{1} << bits;
  run.bits = bits;
  run.starts.assign(partitions + 1, 0);
  if (bits == 0) {
    run.starts[1] = run.positions.size();
    return;
  }
  auto partitionOf = [bits](const Vector& v) { return static_cast<std::size_t>(HashOf(BitsOf(v)) >> (64 - bits)); };
  for (const Vector& v : run.positions) ++run.starts[partitionOf(v) + 1];
  for (std::size_t k = 0; k < partitions; ++k) run.starts[k + 1] += run.starts[k];
  std::vector<std::size_t> next(run.starts.begin(), run.starts.end() - 1);
  for (std::size_t k = 0; k < partitions; ++k) {
    while (next[k] < run.starts[k + 1]) {
      Vector moving = run.positions[next[k]];
      std::size_t home = partitionOf(moving);
      while (home != k) {  // a cycle of displaced positions ends back at k
        Vector* slot = &run.positions[next[home]++];
        __builtin_prefetch(slot + 16, 1);  // that partition's next cache lines
        std::swap(moving, *slot);
        home = partitionOf(moving);
      }
      run.positions[next[k]++] = moving;
    }
  }
}

// The number of distinct positions over all of `runs`. Runs partitioned by other
// bits than the largest one are partitioned again, so that equal positions meet in
// the same partition. `Vector` has float members x, y and z, with -0 already
// written as +0. Large counts use a second thread.
template <typename Vector>
std::uint64_t CountDistinctPositions(const std::vector<PositionRun<Vector>*>& runs) {
  using distinct_detail::CountPartitions;
  if (runs.empty()) return 0;
  const PositionRun<Vector>* largest = runs.front();
  std::size_t total = 0;
  for (const PositionRun<Vector>* run : runs) {
    total += run->positions.size();
    if (run->positions.size() > largest->positions.size()) largest = run;
  }
  const int bits = largest->bits >= 0 ? largest->bits : PartitionBits(total);
  const bool split = total >= distinct_detail::kSplitAt;
  std::vector<PositionRun<Vector>*> unpartitioned;
  for (PositionRun<Vector>* run : runs)
    if (run->bits != bits) unpartitioned.push_back(run);
  OnTwoThreads(split && unpartitioned.size() > 1, [&](int half) {
    for (std::size_t i = static_cast<std::size_t>(half); i < unpartitioned.size(); i += 2)
      Partition(*unpartitioned[i], bits);
  });
  const std::size_t partitions = std::size_t{1} << bits;
  std::uint64_t distinct[2] = {0, 0};
  OnTwoThreads(split, [&](int half) {
    const std::size_t middle = partitions / 2;
    distinct[half] = half == 0 ? CountPartitions(runs, 0, middle) : CountPartitions(runs, middle, partitions);
  });
  return distinct[0] + distinct[1];
}

}  // namespace testhost::input
