// Counting an imported mesh the way the scene counts an object:
//
// - Points are distinct positions. Importers hand out one vertex per face corner
//   where normals, texture coordinates or the format itself differ per corner
//   (OBJ, STL, FBX, COLLADA, 3DS do this), so the vertex count says more about the
//   file than about the shape. Vertices at exactly the same position (-0 and +0
//   alike) are one point; positions that differ in any bit stay apart. Every
//   vertex of the mesh counts, also those no face uses.
// - Polygons are faces with three or more corners, as the file has them: nothing
//   is triangulated. A face with more than four corners is also an n-gon.
// - Faces of one or two corners (points, lines) are not polygons. A mesh made only
//   of them becomes a point object holding its positions; in a mesh with polygons
//   their positions count among the points.
// Counts beyond the Int32 range saturate, as the host's counts do. Every face is
// checked against the mesh's vertices, as the importer's own validation is not run
// (import_assimp.cpp).
#include "assimp_mesh.h"

#include <assimp/mesh.h>

#include <cstdint>
#include <cstring>
#include <unordered_set>

#include "scene_input.h"

namespace testhost::input {

namespace {

struct PositionKey {
  std::uint32_t x, y, z;
  bool operator==(const PositionKey& other) const = default;
};

struct PositionHash {
  std::size_t operator()(const PositionKey& key) const {
    std::uint64_t hash = key.x;
    hash = hash * 0x9E3779B97F4A7C15ull ^ key.y;
    hash = hash * 0x9E3779B97F4A7C15ull ^ key.z;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
  }
};

std::uint32_t Bits(float value) {
  if (value == 0.0f) value = 0.0f;  // -0 is the same position as +0
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::int32_t Saturate(std::uint64_t count) {
  return static_cast<std::int32_t>(count > INT32_MAX ? INT32_MAX : count);
}

[[noreturn]] void Fault(const std::string& file, const std::string& mesh, const std::string& what) {
  throw InputError(file, 0, "cannot be imported: in mesh '" + mesh + "', " + what);
}

}  // namespace

DraftObject MeshObject(const aiMesh& mesh, std::string name, const std::string& file) {
  std::unordered_set<PositionKey, PositionHash> positions;
  if (mesh.mVertices != nullptr) {
    positions.reserve(mesh.mNumVertices);
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
      const aiVector3D& v = mesh.mVertices[i];
      positions.insert({Bits(v.x), Bits(v.y), Bits(v.z)});
    }
  }
  std::uint64_t polygons = 0, ngons = 0;
  if (mesh.mNumFaces != 0 && mesh.mFaces == nullptr) Fault(file, name, "its faces are missing");
  for (unsigned i = 0; i < mesh.mNumFaces; ++i) {
    const aiFace& face = mesh.mFaces[i];
    if (face.mNumIndices == 0 || face.mIndices == nullptr) Fault(file, name, "face " + std::to_string(i) + " has no corners");
    for (unsigned corner = 0; corner < face.mNumIndices; ++corner)
      if (face.mIndices[corner] >= mesh.mNumVertices || mesh.mVertices == nullptr)
        Fault(file, name, "face " + std::to_string(i) + " uses vertex " + std::to_string(face.mIndices[corner]) + " of " +
                              std::to_string(mesh.mNumVertices));
    polygons += face.mNumIndices >= 3;
    ngons += face.mNumIndices > 4;
  }
  DraftObject object;
  object.name = std::move(name);
  object.kind = polygons > 0 ? ObjectKind::Polygon : ObjectKind::Point;
  object.points = Saturate(positions.size());
  object.polygons = Saturate(polygons);
  object.ngons = Saturate(ngons);
  return object;
}

}  // namespace testhost::input
