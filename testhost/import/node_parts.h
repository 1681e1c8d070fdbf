#pragma once
// What of the importer's node hierarchy makes each object: a node's meshes are its
// own geometry, its child nodes objects under it. For the file's root node, the
// importer puts some formats' own geometry in a node of its own below it; that
// node's meshes are the root's (node_parts.cpp says where).
#include <string>
#include <vector>

struct aiNode;

namespace testhost::input {

struct NodeParts {
  std::vector<unsigned> meshes;  // indices into the scene's meshes
  std::vector<const aiNode*> children;
};

// A node's own meshes and children. Missing lists or children are an InputError
// about `file`.
NodeParts PartsOf(const aiNode& node, const std::string& file);
// The root's parts, with the nodes that hold the file's own geometry taken in.
// `extension` is the file's, lower case with its dot.
NodeParts RootParts(const aiNode& root, const std::string& extension, const std::string& file);

}  // namespace testhost::input
