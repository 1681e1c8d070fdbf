#pragma once
// What the meshes of one node count as in the scene: the node's own geometry, one
// object. Importers split a node's shape into several meshes (one per material,
// per glTF primitive, per primitive type), so the meshes are counted together.
#include <cstdint>
#include <string>
#include <vector>

#include "testhost/scene.h"

struct aiScene;

namespace testhost::input {

struct NodeGeometry {
  ObjectKind kind = ObjectKind::Polygon;
  std::int32_t points = 0;
  std::int32_t polygons = 0;
  std::int32_t ngons = 0;
};

// Counts the meshes `meshes` (indices into the scene's meshes; at least one) as one
// polygon object, or a point object when none has a face of three or more corners
// (point clouds, lines). See node_geometry.cpp for the rules. A mesh index the file
// does not have, a face without corners or a corner past its mesh's vertices (what
// a cut or damaged file leaves) is an InputError about `file`.
NodeGeometry CountNodeGeometry(const aiScene& scene, const std::vector<unsigned>& meshes, const std::string& file);

}  // namespace testhost::input
