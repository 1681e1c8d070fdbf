#pragma once
// A scene read and checked but not yet made: the JSON and 3D readers fill a draft,
// and only a complete one becomes a document, so that a bad file leaves no half
// document behind.
#include <cstdint>
#include <string>
#include <vector>

#include "testhost/scene.h"

namespace testhost::input {

struct DraftObject {
  ObjectKind kind = ObjectKind::Null;
  std::string name;
  std::int32_t points = 0;
  std::int32_t polygons = 0;
  std::int32_t ngons = 0;
  std::int32_t segments = 1;
  std::vector<DraftObject> children;
};

struct Draft {
  std::vector<DraftObject> roots;
  std::string active;  // a path of names; empty: the first top-level object
};

// Whether `path` names an object of the draft, as FindByPath would find it.
bool HasPath(const Draft& draft, const std::string& path);
// Makes the draft a new document of `scene`, the active document, with its active
// object. The draft has at least one object and its active path exists.
Document* Build(Scene& scene, const Draft& draft);

}  // namespace testhost::input
