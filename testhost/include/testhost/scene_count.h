#pragma once
// The host's own count of an object: the eight numbers the statistics dialog must
// show for it, worked out from the test host's scene objects alone. "Current" sums
// what the objects store now; "Editable" is what the host's conversion (generators
// become polygon objects of their generated geometry, everything else is copied as
// it is) and its join of the converted hierarchy hold. Nothing of the plug-in's is
// used, so that a wrong walk, a wrong test of kinds or flags, or a lost option in
// the plug-in shows as a difference.
#include <cstdint>
#include <map>
#include <string>

#include "testhost/scene.h"

namespace testhost {

struct CountOptions {
  bool includeChildren = true;
  bool includeNonPolygon = false;
};

struct ColumnCounts {
  std::int64_t polygons = 0, points = 0, ngons = 0, objects = 0;
};

struct SceneCounts {
  ColumnCounts current, editable;
};

// The counts for `object` (the active object) when both conversions succeed.
SceneCounts CountObject(const SceneObject& object, const CountOptions& options);

// The eight value fields, in the order the dialog writes them.
inline constexpr std::int32_t kCountFields[8] = {tool::kPolygonsEditable, tool::kPolygonsCurrent,
                                                 tool::kPointsEditable,   tool::kPointsCurrent,
                                                 tool::kNgonsEditable,    tool::kNgonsCurrent,
                                                 tool::kObjectsEditable,  tool::kObjectsCurrent};

// The texts of the eight fields by element id: the counts as decimal digits, or
// "0" in every field (a cleared display).
std::map<std::int32_t, std::string> CountTexts(const SceneCounts& counts);
std::map<std::int32_t, std::string> ZeroTexts();

// "polygons current 6 (shown 7), ..." for the fields that differ; empty when none.
std::string DescribeDifference(const std::map<std::int32_t, std::string>& expected,
                               const std::map<std::int32_t, std::string>& shown);

}  // namespace testhost
