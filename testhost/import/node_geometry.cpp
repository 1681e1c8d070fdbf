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
//
// Files of millions of faces are what this is timed on: a mesh is read in one pass
// over its faces (split between two threads), marking the vertices they use, and
// the used positions are then counted in place (distinct_positions.h).
#include "node_geometry.h"

#include <assimp/scene.h>

#include <algorithm>
#include <bit>
#include <set>

#include "distinct_positions.h"
#include "scene_input.h"

namespace testhost::input {

namespace {

std::int32_t Saturate(std::uint64_t count) {
  return static_cast<std::int32_t>(count > INT32_MAX ? INT32_MAX : count);
}

// Meshes of at least this many faces or vertices are read by two threads.
constexpr std::size_t kSplitAt = 1 << 16;

// One thread's share of the faces: their counts, the vertices they use, and the
// first face that is not what a face must be.
struct FaceShare {
  std::uint64_t polygons = 0, ngons = 0;
  std::vector<std::uint64_t> used;  // one bit per vertex
  long badFace = -1;
  unsigned badVertex = 0;  // the vertex it uses, when it has corners
};

void ReadFaces(const aiMesh& mesh, unsigned first, unsigned last, FaceShare& share) {
  share.used.assign((mesh.mNumVertices + 63) / 64, 0);
  std::uint64_t* used = share.used.data();
  for (unsigned i = first; i < last; ++i) {
    const aiFace& face = mesh.mFaces[i];
    if (face.mNumIndices == 0 || face.mIndices == nullptr) {
      share.badFace = i;
      return;
    }
    for (unsigned corner = 0; corner < face.mNumIndices; ++corner) {
      const unsigned vertex = face.mIndices[corner];
      if (vertex >= mesh.mNumVertices || mesh.mVertices == nullptr) {
        share.badFace = i;
        share.badVertex = vertex;
        return;
      }
      used[vertex / 64] |= std::uint64_t{1} << (vertex % 64);
    }
    share.polygons += face.mNumIndices >= 3;
    share.ngons += face.mNumIndices > 4;
  }
}

// Moves the used positions of vertices [first, last) to the front of that range,
// -0 written as +0; `used` null takes every vertex. A position equal to one moved
// shortly before is left out: it changes no count, and importers that give every
// face corner a vertex of its own (OBJ, STL) repeat each position a few faces
// apart. Where the first positions show no such repeats (indexed formats: PLY,
// glTF), the rest are moved without looking. Answers the positions moved.
std::span<aiVector3D> Compact(aiVector3D* vertices, unsigned first, unsigned last, const std::uint64_t* used) {
  constexpr std::size_t kRecent = 1 << 14;  // positions remembered, by hash
  constexpr std::size_t kTrial = 1 << 16;   // positions that show whether repeats are near
  struct Recent {
    PositionBits bits;
    bool set = false;
  };
  const std::size_t slots = std::bit_ceil(std::min<std::size_t>(last - first + 1, kRecent));
  std::vector<Recent> recent(slots);
  std::size_t kept = first, seen = 0, repeats = 0;
  bool looking = true;
  for (unsigned i = first; i < last; ++i) {
    if (used != nullptr && (used[i / 64] >> (i % 64) & 1) == 0) continue;
    const aiVector3D& v = vertices[i];
    const aiVector3D position(CanonicalZero(v.x), CanonicalZero(v.y), CanonicalZero(v.z));
    if (looking) {
      const PositionBits bits = BitsOf(position);
      Recent& slot = recent[HashOf(bits) & (slots - 1)];
      if (slot.set && slot.bits == bits) {
        ++repeats;
        continue;
      }
      slot = {bits, true};
      looking = ++seen < kTrial || repeats * 16 > seen;
    }
    vertices[kept++] = position;
  }
  return {vertices + first, kept - first};
}

}  // namespace

MeshTallies::MeshTallies(aiScene& scene, const std::string& file)
    : scene_(scene), file_(file), tallies_(scene.mMeshes != nullptr ? scene.mNumMeshes : 0) {}

MeshTally& MeshTallies::Of(unsigned index) {
  if (index >= tallies_.size() || scene_.mMeshes[index] == nullptr)
    throw InputError(file_, 0, "cannot be imported: a node uses a mesh the file does not have");
  MeshTally& tally = tallies_[index];
  if (tally.read) return tally;
  aiMesh& mesh = *scene_.mMeshes[index];
  auto fault = [&](const std::string& what) {
    const std::string name = mesh.mName.length != 0 ? mesh.mName.C_Str() : "mesh " + std::to_string(index);
    throw InputError(file_, 0, "cannot be imported: in mesh '" + name + "', " + what);
  };
  const unsigned vertices = mesh.mVertices != nullptr ? mesh.mNumVertices : 0;
  const bool split = std::max(mesh.mNumFaces, vertices) >= kSplitAt;
  FaceShare shares[2];
  if (mesh.mNumFaces != 0) {  // without faces, a point cloud: every vertex is a point
    if (mesh.mFaces == nullptr) fault("its faces are missing");
    OnTwoThreads(split, [&](int half) {
      const unsigned middle = mesh.mNumFaces / 2;
      if (half == 0) ReadFaces(mesh, 0, middle, shares[0]);
      else ReadFaces(mesh, middle, mesh.mNumFaces, shares[1]);
    });
    for (const FaceShare& share : shares) {  // the first bad face in the file's order
      if (share.badFace < 0) continue;
      const aiFace& face = mesh.mFaces[share.badFace];
      const std::string what = "face " + std::to_string(share.badFace);
      if (face.mNumIndices == 0 || face.mIndices == nullptr) fault(what + " has no corners");
      fault(what + " uses vertex " + std::to_string(share.badVertex) + " of " + std::to_string(mesh.mNumVertices));
    }
    for (std::size_t word = 0; word < shares[0].used.size(); ++word) shares[0].used[word] |= shares[1].used[word];
  }
  // Each thread gathers the used positions of one half of the vertices and
  // partitions them for counting (distinct_positions.h).
  const std::uint64_t* used = mesh.mNumFaces != 0 ? shares[0].used.data() : nullptr;
  std::size_t upTo = vertices;  // at most this many used positions
  if (used != nullptr) {
    upTo = 0;
    for (std::uint64_t word : shares[0].used) upTo += static_cast<std::size_t>(std::popcount(word));
  }
  PositionRun<aiVector3D> runs[2];
  OnTwoThreads(split, [&](int half) {
    const unsigned middle = vertices / 2;
    runs[half].positions = half == 0 ? Compact(mesh.mVertices, 0, middle, used)
                                     : Compact(mesh.mVertices, middle, vertices, used);
    Partition(runs[half], PartitionBits(upTo));
  });
  for (PositionRun<aiVector3D>& run : runs)
    if (!run.positions.empty()) tally.used.push_back(std::move(run));
  tally.polygons = shares[0].polygons + shares[1].polygons;
  tally.ngons = shares[0].ngons + shares[1].ngons;
  tally.read = true;
  return tally;
}

NodeGeometry CountNodeGeometry(MeshTallies& tallies, const std::vector<unsigned>& meshes) {
  std::uint64_t polygons = 0, ngons = 0;
  std::vector<PositionRun<aiVector3D>*> positions;
  std::set<unsigned> taken;  // a mesh listed twice brings its positions once
  for (unsigned index : meshes) {
    MeshTally& tally = tallies.Of(index);
    polygons += tally.polygons;
    ngons += tally.ngons;
    if (taken.insert(index).second)
      for (PositionRun<aiVector3D>& run : tally.used) positions.push_back(&run);
  }
  return {polygons > 0 ? ObjectKind::Polygon : ObjectKind::Point, Saturate(CountDistinctPositions(positions)),
          Saturate(polygons), Saturate(ngons)};
}

}  // namespace testhost::input
