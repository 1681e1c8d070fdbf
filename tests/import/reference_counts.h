#pragma once
// What a 3D file holds, counted from the file's own lists (positions, faces,
// groups, nodes, accessors) without the importer, so that the scene it becomes
// can be checked against counts that owe nothing to how the importer splits
// meshes. Each reader knows just enough of its format for the files in
// testhost/import/testdata, and fails the test on anything else.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "testhost/scene.h"

namespace scene_input_test {

using Position = std::array<float, 3>;

// Makes -0 the same position as +0.
Position PositionOf(float x, float y, float z);

struct ReferenceObject {
  std::string name;
  std::set<Position> positions;  // distinct positions its faces, lines and points use
  long polygons = 0, ngons = 0;
  std::vector<ReferenceObject> children;

  // Faces of three or more corners (a face of more than four is an n-gon).
  void AddFace(const std::vector<Position>& corners);
};

// The top-level object is named after the file, without its folder.
ReferenceObject ObjReference(const std::string& file);
ReferenceObject GltfReference(const std::string& file);
ReferenceObject StlReference(const std::string& file);

// Whether `object` and everything below it match `expected`: names, kinds (polygon
// with faces, point with positions only, else null), counts and children in order.
testing::AssertionResult SameHierarchy(const testhost::SceneObject* object, const ReferenceObject& expected);

}  // namespace scene_input_test
