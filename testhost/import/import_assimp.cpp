// 3D files through the importer. The file's nodes are the objects, and the file's
// root node is the top-level object, named after the file (without its folder):
//
// - a node's meshes are the node's own geometry, one polygon or point object
//   (node_geometry.cpp), however many meshes the importer split it into (one per
//   material, per glTF primitive, per primitive type);
// - a node without meshes becomes a camera when the file has a camera of that
//   name, else a null object;
// - a mesh that several nodes use counts under each of them;
// - where the importer wraps the file's own geometry in a node below the root (an
//   STL's solid, an OBJ's faces outside any named group), that geometry is the
//   root's (node_parts.cpp), so a file of one shape is one object.
//
// Names lose any '/' (it becomes '_'), as paths are made of names; an unnamed node
// is called "node". Nothing is triangulated or merged by the importer: the file is
// read raw, without post-processing. The importer's own validation step is not
// used either, as it refuses meshes without faces (point clouds); instead this
// reader checks every pointer and index it follows, refuses hierarchies that loop
// or grow past kMaxObjects, and refuses a file with no mesh and no camera (a
// lenient reader makes an empty scene out of garbage).
//
// The importer's scene is this reader's own once read: counting reorders its
// vertex arrays in place (node_geometry.cpp), and it is freed as soon as the
// counts are taken, on a thread of its own (ReleaseInBackground).
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "node_geometry.h"
#include "node_parts.h"
#include "phase_times.h"
#include "readers.h"
#include "scene_draft.h"
#include "scene_input.h"

namespace testhost::input {

namespace {

std::string Clean(std::string name, const char* fallback) {
  if (name.empty()) return fallback;
  for (char& c : name)
    if (c == '/') c = '_';
  return name;
}

// More objects than this in one file are refused: shared subtrees are copied
// under every parent, and a file must not be able to make that explode.
constexpr long kMaxObjects = 1000000;

class HierarchyReader {
 public:
  HierarchyReader(const std::string& file, aiScene& scene) : file_(file), meshes_(scene, file) {
    for (unsigned i = 0; i < scene.mNumCameras; ++i)
      if (scene.mCameras != nullptr && scene.mCameras[i] != nullptr) cameras_.insert(scene.mCameras[i]->mName.C_Str());
  }

  DraftObject Read(const aiNode& node, const NodeParts& parts, std::string name) {
    if (!path_.insert(&node).second) Fail("its node hierarchy loops");
    if (static_cast<int>(path_.size()) > kMaxDepth) Fail("nodes nested deeper than " + std::to_string(kMaxDepth) + " levels");
    if (++objects_ > kMaxObjects) Fail("more than " + std::to_string(kMaxObjects) + " objects");
    DraftObject object;
    object.name = std::move(name);
    if (parts.meshes.empty()) {
      object.kind = cameras_.count(node.mName.C_Str()) != 0 ? ObjectKind::Camera : ObjectKind::Null;
    } else {
      const NodeGeometry& geometry = Geometry(parts.meshes);
      object.kind = geometry.kind;
      object.points = geometry.points;
      object.polygons = geometry.polygons;
      object.ngons = geometry.ngons;
    }
    for (const aiNode* child : parts.children)
      object.children.push_back(Read(*child, PartsOf(*child, file_), Clean(child->mName.C_Str(), "node")));
    path_.erase(&node);
    return object;
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const { throw InputError(file_, 0, "cannot be imported: " + reason); }

  // Nodes that instance the same meshes count them once.
  const NodeGeometry& Geometry(const std::vector<unsigned>& meshes) {
    auto found = counted_.find(meshes);
    if (found == counted_.end()) found = counted_.emplace(meshes, CountNodeGeometry(meshes_, meshes)).first;
    return found->second;
  }

  const std::string& file_;
  MeshTallies meshes_;
  std::set<std::string> cameras_;
  std::set<const aiNode*> path_;  // the nodes from the root to the one being read
  std::map<std::vector<unsigned>, NodeGeometry> counted_;
  long objects_ = 0;
};

using OwnedScene = std::unique_ptr<aiScene>;

// A scene of millions of faces is millions of allocations: freeing them takes as
// long as a tenth of reading the file. A large one is freed on a thread of its own
// while the session goes on; a process that ends first leaves the rest to the
// operating system, which takes the memory back at once.
void ReleaseInBackground(OwnedScene scene) {
  std::size_t size = 0;
  for (unsigned i = 0; scene->mMeshes != nullptr && i < scene->mNumMeshes; ++i)
    if (const aiMesh* mesh = scene->mMeshes[i]) size += mesh->mNumFaces + mesh->mNumVertices;
  if (size < (1u << 16)) return;  // freed here: a thread would cost more
  try {
    std::thread([owned = std::move(scene)]() mutable { owned.reset(); }).detach();
  } catch (const std::exception&) {
    // No thread to be had (a tight memory budget): the scene went with the attempt.
  }
}

OwnedScene ReadRaw(const std::string& file, const std::string& extension) {
  const Phase phase("import");
  Assimp::Importer importer;
  if (!extension.empty() && !importer.IsExtensionSupported(extension))
    throw InputError(file, 0,
                     "unknown file type '" + extension + "' (not .json, .scene or a 3D format the importer reads)");
  const aiScene* imported = nullptr;
  try {
    imported = importer.ReadFile(file, 0);
  } catch (const std::exception& error) {  // the importer reports its own errors; memory may still run out
    throw InputError(file, 0, std::string("cannot be imported: ") + error.what());
  }
  if (imported == nullptr && extension.empty() && std::string(importer.GetErrorString()).rfind("No suitable reader", 0) == 0)
    throw InputError(file, 0, "not a scene or 3D file the program knows by its content (a file name with its "
                              "extension says what it is)");
  if (imported == nullptr) throw InputError(file, 0, std::string("cannot be imported: ") + importer.GetErrorString());
  return OwnedScene(importer.GetOrphanedScene());
}

}  // namespace

Document* LoadImportedFile(Scene& scene, const std::string& file, const std::string& extension) {
  OwnedScene imported = ReadRaw(file, extension);
  if (imported->mRootNode == nullptr) throw InputError(file, 0, "cannot be imported: the file holds no scene");
  if (imported->mNumMeshes == 0 && imported->mNumCameras == 0)
    throw InputError(file, 0, "cannot be imported: the file holds no meshes and no cameras");
  const std::string name = Clean(std::filesystem::path(file).filename().string(), "file");
  Draft draft;
  {
    const Phase phase("position merge");
    const aiNode& root = *imported->mRootNode;
    draft.roots.push_back(HierarchyReader(file, *imported).Read(root, RootParts(root, extension, file), name));
  }
  ReleaseInBackground(std::move(imported));
  const Phase phase("scene build");
  return Build(scene, draft);
}

std::vector<std::string> ImporterExtensions() {
  std::string list;  // "*.3ds;*.obj;..."
  Assimp::Importer().GetExtensionList(list);
  std::vector<std::string> extensions;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string item = list.substr(start, end - start);
    if (item.rfind("*.", 0) == 0) extensions.push_back(item.substr(1));
    start = end + 1;
  }
  return extensions;
}

}  // namespace testhost::input
