#include "testhost/scene_count.h"

#include <cstdint>
#include <vector>

namespace testhost {

namespace {

// An object as the host's conversion gives it back.
struct Converted {
  ObjectKind kind;
  std::int64_t points, polygons, ngons;
  std::int32_t flags;
};

Converted Convert(const SceneObject& object) {
  if (IsGenerator(object.kind)) {
    const GeneratedCounts made = Generate(object.kind, object.segments);
    return {ObjectKind::Polygon, made.points, made.polygons, made.ngons, DefaultInfoFlags(ObjectKind::Polygon)};
  }
  return {object.kind, object.points, object.polygons, object.ngons, object.infoFlags};
}

// The host's counts are Int32: its join saturates.
std::int64_t Saturated(std::int64_t value) { return value > INT32_MAX ? INT32_MAX : value; }

// Calls `visit` for `top` and, when `whole`, every object below it (in no
// particular order: only sums are taken).
template <typename F>
void ForEachBelow(const SceneObject& top, bool whole, F&& visit) {
  visit(top);
  if (!whole) return;
  std::vector<const SceneObject*> pending;
  for (const SceneObject* child = top.firstChild; child != nullptr; child = child->next) pending.push_back(child);
  while (!pending.empty()) {
    const SceneObject* current = pending.back();
    pending.pop_back();
    visit(*current);
    for (const SceneObject* child = current->firstChild; child != nullptr; child = child->next)
      pending.push_back(child);
  }
}

const char* FieldName(std::int32_t id) {
  switch (id) {
    case tool::kPolygonsEditable: return "polygons editable";
    case tool::kPolygonsCurrent: return "polygons current";
    case tool::kPointsEditable: return "points editable";
    case tool::kPointsCurrent: return "points current";
    case tool::kObjectsEditable: return "objects editable";
    case tool::kObjectsCurrent: return "objects current";
    case tool::kNgonsEditable: return "n-gons editable";
    case tool::kNgonsCurrent: return "n-gons current";
    default: return "field";
  }
}

}  // namespace

SceneCounts CountObject(const SceneObject& object, const CountOptions& options) {
  SceneCounts counts;
  ColumnCounts& current = counts.current;
  ForEachBelow(object, options.includeChildren, [&](const SceneObject& one) {
    current.polygons += one.polygons;
    if (one.polygons > 0) current.ngons += one.ngons;
    current.points += one.points;
    ++current.objects;
  });

  ColumnCounts& editable = counts.editable;
  if (!options.includeChildren) {
    // The converted object alone; it counts as an object when it holds geometry.
    const Converted top = Convert(object);
    editable.polygons = top.polygons;
    editable.ngons = top.polygons > 0 ? top.ngons : 0;
    editable.points = top.points;
    editable.objects = top.polygons > 0 || top.points > 0 ? 1 : 0;
    return counts;
  }
  // Objects of the converted hierarchy that hold or may hold geometry (all of them
  // with the non-polygon option); the geometry is that of the join, which takes
  // polygon and point objects only.
  std::int64_t polygons = 0, points = 0, ngons = 0;
  ForEachBelow(object, true, [&](const SceneObject& one) {
    const Converted converted = Convert(one);
    const bool polygonObject = converted.kind == ObjectKind::Polygon;
    const bool pointObject = polygonObject || converted.kind == ObjectKind::Point;
    if (converted.polygons != 0 || converted.points != 0 || pointObject || options.includeNonPolygon ||
        (converted.flags & kInfoGeometry) != 0)
      ++editable.objects;
    if (pointObject) {
      polygons += converted.polygons;
      points += converted.points;
      ngons += converted.ngons;
    }
  });
  editable.polygons = Saturated(polygons);
  editable.points = Saturated(points);
  editable.ngons = editable.polygons > 0 ? Saturated(ngons) : 0;
  return counts;
}

std::map<std::int32_t, std::string> CountTexts(const SceneCounts& counts) {
  return {{tool::kPolygonsEditable, std::to_string(counts.editable.polygons)},
          {tool::kPolygonsCurrent, std::to_string(counts.current.polygons)},
          {tool::kPointsEditable, std::to_string(counts.editable.points)},
          {tool::kPointsCurrent, std::to_string(counts.current.points)},
          {tool::kNgonsEditable, std::to_string(counts.editable.ngons)},
          {tool::kNgonsCurrent, std::to_string(counts.current.ngons)},
          {tool::kObjectsEditable, std::to_string(counts.editable.objects)},
          {tool::kObjectsCurrent, std::to_string(counts.current.objects)}};
}

std::map<std::int32_t, std::string> ZeroTexts() {
  std::map<std::int32_t, std::string> zeros;
  const std::string zero(1, '0');
  for (std::int32_t id : kCountFields) zeros.emplace(id, zero);
  return zeros;
}

std::string DescribeDifference(const std::map<std::int32_t, std::string>& expected,
                               const std::map<std::int32_t, std::string>& shown) {
  std::string difference;
  for (std::int32_t id : kCountFields) {
    auto want = expected.find(id);
    auto got = shown.find(id);
    const std::string wanted = want != expected.end() ? want->second : "(no field)";
    const std::string seen = got != shown.end() ? got->second : "(no field)";
    if (wanted == seen) continue;
    if (!difference.empty()) difference.append(", ");
    difference.append(FieldName(id)).append(" ").append(wanted).append(" (shown ").append(seen).append(")");
  }
  return difference;
}

}  // namespace testhost
