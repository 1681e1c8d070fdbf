// 3D files through the importer. A file becomes one top-level object named after
// the file (without its folder): the file's root node, renamed. Below it the
// file's nodes keep their hierarchy and names:
//
// - a node with one mesh becomes that mesh's object (polygon or point object,
//   assimp_mesh.cpp) under the node's name;
// - a node with several meshes (importers split a shape by material or primitive
//   type) becomes a null object with one child per mesh, named after the mesh (or
//   "mesh N" by its index in the file), before the node's own children;
// - a node without meshes becomes a camera when the file has a camera of that
//   name, else a null object;
// - a mesh that several nodes use becomes an object under each of them.
//
// Names lose any '/' (it becomes '_'), as paths are made of names; an unnamed node
// is called "node". Nothing is triangulated or merged by the importer: the file is
// read raw, without post-processing. The importer's own validation step is not
// used either, as it refuses meshes without faces (point clouds); instead this
// reader checks every pointer and index it follows, refuses hierarchies that loop
// or grow past kMaxObjects, and refuses a file with no mesh and no camera (a
// lenient reader makes an empty scene out of garbage).
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <filesystem>
#include <set>

#include "assimp_mesh.h"
#include "readers.h"
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
  HierarchyReader(const std::string& file, const aiScene& scene) : file_(file), scene_(scene) {
    for (unsigned i = 0; i < scene.mNumCameras; ++i)
      if (scene.mCameras != nullptr && scene.mCameras[i] != nullptr) cameras_.insert(scene.mCameras[i]->mName.C_Str());
  }

  DraftObject Read(const aiNode& node, std::string name) {
    if (!path_.insert(&node).second) Fail("its node hierarchy loops");
    if (static_cast<int>(path_.size()) > kMaxDepth) Fail("nodes nested deeper than " + std::to_string(kMaxDepth) + " levels");
    DraftObject object;
    if (node.mNumMeshes == 1) {
      object = MeshObject(Mesh(node, 0), std::move(name), file_);
      Count();
    } else {
      object.kind = node.mNumMeshes == 0 && cameras_.count(node.mName.C_Str()) != 0 ? ObjectKind::Camera
                                                                                      : ObjectKind::Null;
      object.name = std::move(name);
      Count();
      for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        const aiMesh& mesh = Mesh(node, i);
        const std::string fallback = "mesh " + std::to_string(node.mMeshes[i]);
        object.children.push_back(MeshObject(mesh, Clean(mesh.mName.C_Str(), fallback.c_str()), file_));
        Count();
      }
    }
    if (node.mNumChildren != 0 && node.mChildren == nullptr) Fail("a node's children are missing");
    for (unsigned i = 0; i < node.mNumChildren; ++i) {
      if (node.mChildren[i] == nullptr) Fail("a node's child is missing");
      const aiNode& child = *node.mChildren[i];
      object.children.push_back(Read(child, Clean(child.mName.C_Str(), "node")));
    }
    path_.erase(&node);
    return object;
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const { throw InputError(file_, 0, "cannot be imported: " + reason); }

  const aiMesh& Mesh(const aiNode& node, unsigned i) const {
    if (node.mMeshes == nullptr || node.mMeshes[i] >= scene_.mNumMeshes || scene_.mMeshes == nullptr ||
        scene_.mMeshes[node.mMeshes[i]] == nullptr)
      Fail("a node uses a mesh the file does not have");
    return *scene_.mMeshes[node.mMeshes[i]];
  }

  void Count() {
    if (++objects_ > kMaxObjects) Fail("more than " + std::to_string(kMaxObjects) + " objects");
  }

  const std::string& file_;
  const aiScene& scene_;
  std::set<std::string> cameras_;
  std::set<const aiNode*> path_;  // the nodes from the root to the one being read
  long objects_ = 0;
};

}  // namespace

Document* LoadImportedFile(Scene& scene, const std::string& file, const std::string& extension) {
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
  if (imported->mRootNode == nullptr) throw InputError(file, 0, "cannot be imported: the file holds no scene");
  if (imported->mNumMeshes == 0 && imported->mNumCameras == 0)
    throw InputError(file, 0, "cannot be imported: the file holds no meshes and no cameras");
  const std::string name = Clean(std::filesystem::path(file).filename().string(), "file");
  Draft draft;
  draft.roots.push_back(HierarchyReader(file, *imported).Read(*imported->mRootNode, name));
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
