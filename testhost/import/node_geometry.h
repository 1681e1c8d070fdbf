#pragma once
// What the meshes of one node count as in the scene: the node's own geometry, one
// object. Importers split a node's shape into several meshes (one per material,
// per glTF primitive, per primitive type), so the meshes are counted together.
#include <assimp/vector3.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "distinct_positions.h"
#include "testhost/scene.h"

struct aiScene;

namespace testhost::input {

struct NodeGeometry {
  ObjectKind kind = ObjectKind::Polygon;
  std::int32_t points = 0;
  std::int32_t polygons = 0;
  std::int32_t ngons = 0;
};

// What one mesh holds, read once however many nodes use it: its faces counted, and
// the positions its faces use gathered in its vertex array, ready to be counted.
struct MeshTally {
  bool read = false;
  std::uint64_t polygons = 0, ngons = 0;
  std::vector<PositionRun<aiVector3D>> used;  // the positions its faces use, in one or two runs
};

// The scene's meshes as nodes count them. Reading a mesh reorders its vertex array
// and no longer needs its faces: the counts are all that is left of them.
class MeshTallies {
 public:
  MeshTallies(aiScene& scene, const std::string& file);
  // The tally of mesh `index`. A mesh index the file does not have, a face without
  // corners or a corner past its mesh's vertices (what a cut or damaged file
  // leaves) is an InputError about the file.
  MeshTally& Of(unsigned index);

 private:
  aiScene& scene_;
  const std::string& file_;
  std::vector<MeshTally> tallies_;
};

// Counts the meshes `meshes` (indices into the scene's meshes; at least one) as one
// polygon object, or a point object when none has a face of three or more corners
// (point clouds, lines). See node_geometry.cpp for the rules.
NodeGeometry CountNodeGeometry(MeshTallies& tallies, const std::vector<unsigned>& meshes);

}  // namespace testhost::input
