// Where the importer wraps a file's own geometry in a node below the root:
//
// - STL: every solid is a node below the root. A file of one solid is that shape,
//   so its solid is the root's geometry; the solids of a file of several stay
//   objects under it.
// - OBJ: faces outside any named group (before the first `o` or `g` line, or after
//   a `g` without a name) go into a node named "defaultobject" or into an unnamed
//   one; they are the root's geometry, and every named group an object under it.
//   OBJ has no instancing, so joining these meshes counts nothing twice.
//
// Other formats keep their root as it is: glTF's single root node (or the node the
// importer makes above several) already holds what it holds.
#include "node_parts.h"

#include <assimp/scene.h>

#include "scene_input.h"

namespace testhost::input {

namespace {

bool IsLeaf(const aiNode& node) { return node.mNumChildren == 0; }

bool HoldsRootGeometry(const aiNode& child, const NodeParts& root, const std::string& extension) {
  if (!IsLeaf(child) || child.mNumMeshes == 0) return false;
  if (extension == ".stl") return root.children.size() == 1;
  if (extension == ".obj") return child.mName.length == 0 || std::string(child.mName.C_Str()) == "defaultobject";
  return false;
}

}  // namespace

NodeParts PartsOf(const aiNode& node, const std::string& file) {
  auto fail = [&file](const std::string& reason) { throw InputError(file, 0, "cannot be imported: " + reason); };
  NodeParts parts;
  if (node.mNumMeshes != 0 && node.mMeshes == nullptr) fail("a node's meshes are missing");
  parts.meshes.assign(node.mMeshes, node.mMeshes + node.mNumMeshes);
  if (node.mNumChildren != 0 && node.mChildren == nullptr) fail("a node's children are missing");
  for (unsigned i = 0; i < node.mNumChildren; ++i) {
    if (node.mChildren[i] == nullptr) fail("a node's child is missing");
    parts.children.push_back(node.mChildren[i]);
  }
  return parts;
}

NodeParts RootParts(const aiNode& root, const std::string& extension, const std::string& file) {
  const NodeParts own = PartsOf(root, file);
  NodeParts parts{own.meshes, {}};
  for (const aiNode* child : own.children) {
    if (HoldsRootGeometry(*child, own, extension)) {
      const NodeParts taken = PartsOf(*child, file);
      parts.meshes.insert(parts.meshes.end(), taken.meshes.begin(), taken.meshes.end());
    } else {
      parts.children.push_back(child);
    }
  }
  return parts;
}

}  // namespace testhost::input
