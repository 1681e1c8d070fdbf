// Paths of names from the top level of a document: "Robot/Head".
#include "scene_input.h"

namespace testhost::input {

SceneObject* FindByPath(Document* document, const std::string& path) {
  if (document == nullptr || path.empty()) return nullptr;
  SceneObject* level = document->firstRoot;
  SceneObject* found = nullptr;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    found = nullptr;
    for (SceneObject* object = level; object != nullptr && found == nullptr; object = object->next)
      if (object->name == name) found = object;
    if (found == nullptr || slash == std::string::npos) return found;
    level = found->firstChild;
    start = slash + 1;
  }
  return found;
}

std::string PathOf(const SceneObject* object) {
  std::string path;
  for (; object != nullptr; object = object->parent) path = object->name + (path.empty() ? "" : "/") + path;
  return path;
}

}  // namespace testhost::input
