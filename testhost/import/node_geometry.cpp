// Counting a node's meshes the way the scene counts an object:
//
// - Points are the distinct positions the faces use. Importers hand out one vertex
//   per face corner where normals, texture coordinates or the format itself differ
//   per corner (OBJ, STL, FBX, COLLADA, 3DS do this), give every material its own
//   copy of a shared corner, and give every glTF primitive the whole position array
//   it indexes into; so the vertex count says more about the file than about the
//   shape. Vertices at exactly the same position (-0 and +0 alike), in any mesh of
//   the node, are one point; positions that differ in any bit stay apart. Vertices
//   no face uses are not points, except in a mesh without faces: the importer reads
//   a point cloud as vertices alone, each of them a point.
// - Polygons are faces with three or more corners, as the file has them: nothing
//   is triangulated. A face with more than four corners is also an n-gon.
// - Faces of one or two corners (points, lines) are not polygons. A node holding
//   only them becomes a point object holding their positions; beside polygons their
//   positions count among the points.
// Counts beyond the Int32 range saturate, as the host's counts do. Every face is
// checked against its mesh's vertices, as the importer's own validation is not run
// (import_assimp.cpp).
#include "node_geometry.h"

#include <assimp/scene.h>

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

PositionKey KeyOf(const aiVector3D& v) { return {Bits(v.x), Bits(v.y), Bits(v.z)}; }

std::int32_t Saturate(std::uint64_t count) {
  return static_cast<std::int32_t>(count > INT32_MAX ? INT32_MAX : count);
}

class GeometryCounter {
 public:
  explicit GeometryCounter(const std::string& file) : file_(file) {}

  void Add(const aiMesh& mesh, unsigned index) {
    const std::string name = mesh.mName.length != 0 ? mesh.mName.C_Str() : "mesh " + std::to_string(index);
    if (mesh.mNumFaces == 0) {
      if (mesh.mVertices != nullptr)
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) positions_.insert(KeyOf(mesh.mVertices[i]));
      return;
    }
    if (mesh.mFaces == nullptr) Fault(name, "its faces are missing");
    for (unsigned i = 0; i < mesh.mNumFaces; ++i) {
      const aiFace& face = mesh.mFaces[i];
      if (face.mNumIndices == 0 || face.mIndices == nullptr)
        Fault(name, "face " + std::to_string(i) + " has no corners");
      for (unsigned corner = 0; corner < face.mNumIndices; ++corner) {
        const unsigned vertex = face.mIndices[corner];
        if (vertex >= mesh.mNumVertices || mesh.mVertices == nullptr)
          Fault(name, "face " + std::to_string(i) + " uses vertex " + std::to_string(vertex) + " of " +
                          std::to_string(mesh.mNumVertices));
        positions_.insert(KeyOf(mesh.mVertices[vertex]));
      }
      polygons_ += face.mNumIndices >= 3;
      ngons_ += face.mNumIndices > 4;
    }
  }

  NodeGeometry Result() const {
    return {polygons_ > 0 ? ObjectKind::Polygon : ObjectKind::Point, Saturate(positions_.size()), Saturate(polygons_),
            Saturate(ngons_)};
  }

 private:
  [[noreturn]] void Fault(const std::string& mesh, const std::string& what) const {
    throw InputError(file_, 0, "cannot be imported: in mesh '" + mesh + "', " + what);
  }

  const std::string& file_;
  std::unordered_set<PositionKey, PositionHash> positions_;
  std::uint64_t polygons_ = 0, ngons_ = 0;
};

}  // namespace

NodeGeometry CountNodeGeometry(const aiScene& scene, const std::vector<unsigned>& meshes, const std::string& file) {
  GeometryCounter counter(file);
  for (unsigned index : meshes) {
    if (index >= scene.mNumMeshes || scene.mMeshes == nullptr || scene.mMeshes[index] == nullptr)
      throw InputError(file, 0, "cannot be imported: a node uses a mesh the file does not have");
    counter.Add(*scene.mMeshes[index], index);
  }
  return counter.Result();
}

}  // namespace testhost::input
