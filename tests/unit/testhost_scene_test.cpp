// The test host's scene model (testhost/scene.h): the polygon and point counts its
// parametric generators give, which the plug-in's counts are checked against.
#include <gtest/gtest.h>

#include <cstdint>

#include "testhost/scene.h"

using testhost::ObjectKind;

TEST(Generators, CountsOfTheParametricPrimitives) {
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, 2).points, 26);
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, 2).polygons, 24);
  EXPECT_EQ(testhost::Generate(ObjectKind::Plane, 3).points, 16);
  EXPECT_EQ(testhost::Generate(ObjectKind::Sphere, 24).polygons, 288);
  EXPECT_EQ(testhost::Generate(ObjectKind::Sphere, 24).points, 266);
}

// Large segment counts saturate at the Int32 range instead of wrapping round.
TEST(Generators, LargeSegmentCountsSaturate) {
  constexpr std::int32_t kMost = 2147483647;
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, 18918).polygons, 6 * 18918 * 18918);
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, 18919).polygons, kMost);
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, kMost).points, kMost);
  EXPECT_EQ(testhost::Generate(ObjectKind::Plane, 100000).polygons, kMost);
  EXPECT_EQ(testhost::Generate(ObjectKind::Sphere, kMost).polygons, kMost);
  EXPECT_EQ(testhost::Generate(ObjectKind::Sphere, 65536).points, 65536 * 32767 + 2);
}
