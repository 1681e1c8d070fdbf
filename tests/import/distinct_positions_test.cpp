// Counting distinct positions in place (distinct_positions.h) against a set of
// every position's bits: arrays partitioned by different bits, counts large enough
// for two threads, and positions that differ only in bits a float comparison would
// not see.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <tuple>

#include "distinct_positions.h"

namespace scene_input_test {
namespace {

using testhost::input::BitsOf;
using testhost::input::CountDistinctPositions;
using testhost::input::Partition;
using testhost::input::PartitionBits;
using testhost::input::PositionRun;

struct Position {
  float x, y, z;
};

using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
Key KeyOf(const Position& p) { return {BitsOf(p.x), BitsOf(p.y), BitsOf(p.z)}; }

std::multiset<Key> Keys(const std::vector<std::vector<Position>>& arrays) {
  std::multiset<Key> keys;
  for (const auto& array : arrays)
    for (const Position& p : array) keys.insert(KeyOf(p));
  return keys;
}

// Counts `arrays`, each partitioned beforehand by its entry of `bits` (-1: not),
// and checks that the arrays still hold the same positions.
std::uint64_t Count(std::vector<std::vector<Position>>& arrays, const std::vector<int>& bits) {
  const std::multiset<Key> before = Keys(arrays);
  std::vector<PositionRun<Position>> runs(arrays.size());
  std::vector<PositionRun<Position>*> pointers;
  for (std::size_t i = 0; i < arrays.size(); ++i) {
    runs[i].positions = arrays[i];
    if (i < bits.size() && bits[i] >= 0) Partition(runs[i], bits[i]);
    pointers.push_back(&runs[i]);
  }
  const std::uint64_t distinct = CountDistinctPositions(pointers);
  EXPECT_EQ(Keys(arrays), before) << "counting may reorder the positions, nothing more";
  return distinct;
}

std::vector<Position> FromPool(std::mt19937& random, const std::vector<Position>& pool, std::size_t count) {
  std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
  std::vector<Position> positions(count);
  for (Position& p : positions) p = pool[pick(random)];
  return positions;
}

TEST(DistinctPositions, NothingAndOne) {
  std::vector<std::vector<Position>> none;
  EXPECT_EQ(Count(none, {}), 0u);
  std::vector<std::vector<Position>> one = {{}, {{1, 2, 3}}, {}};
  EXPECT_EQ(Count(one, {}), 1u);
}

TEST(DistinctPositions, EqualPositionsMeetWhateverArrayAndPartitionsTheyCameIn) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coordinate(-100.0f, 100.0f);
  std::vector<Position> pool(60000);
  for (Position& p : pool) p = {coordinate(random), coordinate(random), coordinate(random)};
  // Large enough for partitions and two threads; arrays partitioned by other bits
  // than the largest one must be partitioned again.
  std::vector<std::vector<Position>> arrays = {FromPool(random, pool, 200000), FromPool(random, pool, 30000),
                                               FromPool(random, pool, 5000), FromPool(random, pool, 90000)};
  const std::multiset<Key> all = Keys(arrays);
  const std::set<Key> distinct(all.begin(), all.end());
  ASSERT_GT(distinct.size(), 50000u);
  EXPECT_EQ(Count(arrays, {PartitionBits(200000), 2, -1, 0}), distinct.size());
  EXPECT_EQ(Count(arrays, {}), distinct.size()) << "none partitioned before";
  EXPECT_EQ(Count(arrays, {3, 3, 3, 3}), distinct.size()) << "all by the same, few bits";
}

TEST(DistinctPositions, PositionsDifferingInAnyBitStayApart) {
  const float quietNan = std::numeric_limits<float>::quiet_NaN();
  Position otherNan{quietNan, 0, 0};
  std::uint32_t bits = BitsOf(quietNan) | 1u;  // another payload
  std::memcpy(&otherNan.x, &bits, sizeof bits);
  const float tiny = std::numeric_limits<float>::denorm_min();
  std::vector<std::vector<Position>> arrays = {
      {{quietNan, 0, 0}, otherNan, {quietNan, 0, 0}, {1, tiny, 0}, {1, 0, 0}, {1, -tiny, 0}},
      {otherNan, {1, 0, 0}, {1, tiny, 0}}};
  EXPECT_EQ(Count(arrays, {}), 5u) << "two NaNs, 0 and the smallest numbers either side of it";
}

TEST(DistinctPositions, PartitionsStayNearTheirTargetSize) {
  EXPECT_EQ(PartitionBits(0), 0);
  EXPECT_EQ(PartitionBits(4096), 0);
  EXPECT_EQ(PartitionBits(4097), 1);
  EXPECT_EQ(PartitionBits(2'000'000), 9);  // 3906 positions a partition
  EXPECT_EQ(PartitionBits(std::numeric_limits<std::size_t>::max()), 16);
}

}  // namespace
}  // namespace scene_input_test
