#pragma once
// What one of the importer's meshes counts as in the scene.
#include <string>

#include "scene_draft.h"

struct aiMesh;

namespace testhost::input {

// A mesh becomes a polygon object, or a point object when it has no face of three
// or more corners (point clouds, lines). See assimp_mesh.cpp for the counting rules.
// A face without corners or with a corner past the mesh's vertices (what a cut or
// damaged file leaves) is an InputError about `file`.
DraftObject MeshObject(const aiMesh& mesh, std::string name, const std::string& file);

}  // namespace testhost::input
