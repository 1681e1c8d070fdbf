#include "reference_counts.h"

namespace scene_input_test {

Position PositionOf(float x, float y, float z) {
  auto plain = [](float value) { return value == 0.0f ? 0.0f : value; };
  return {plain(x), plain(y), plain(z)};
}

void ReferenceObject::AddFace(const std::vector<Position>& corners) {
  positions.insert(corners.begin(), corners.end());
  polygons += corners.size() >= 3;
  ngons += corners.size() > 4;
}

namespace {

testhost::ObjectKind KindOf(const ReferenceObject& object) {
  if (object.polygons > 0) return testhost::ObjectKind::Polygon;
  return object.positions.empty() ? testhost::ObjectKind::Null : testhost::ObjectKind::Point;
}

testing::AssertionResult Compare(const testhost::SceneObject* object, const ReferenceObject& expected,
                                 const std::string& path) {
  const std::string at = path.empty() ? expected.name : path + "/" + expected.name;
  if (object == nullptr) return testing::AssertionFailure() << at << ": missing";
  if (object->name != expected.name) return testing::AssertionFailure() << at << ": named '" << object->name << "'";
  if (object->kind != KindOf(expected))
    return testing::AssertionFailure() << at << ": kind " << static_cast<int>(object->kind) << ", wanted "
                                       << static_cast<int>(KindOf(expected));
  const long points = static_cast<long>(expected.positions.size());
  if (object->points != points || object->polygons != expected.polygons || object->ngons != expected.ngons)
    return testing::AssertionFailure() << at << ": points/polygons/ngons " << object->points << "/" << object->polygons
                                       << "/" << object->ngons << ", wanted " << points << "/" << expected.polygons
                                       << "/" << expected.ngons;
  const testhost::SceneObject* child = object->firstChild;
  for (const ReferenceObject& wanted : expected.children) {
    const testing::AssertionResult same = Compare(child, wanted, at);
    if (!same) return same;
    child = child->next;
  }
  if (child != nullptr) return testing::AssertionFailure() << at << ": an object more, '" << child->name << "'";
  return testing::AssertionSuccess();
}

}  // namespace

testing::AssertionResult SameHierarchy(const testhost::SceneObject* object, const ReferenceObject& expected) {
  return Compare(object, expected, "");
}

}  // namespace scene_input_test
