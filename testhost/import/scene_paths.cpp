// Paths of names from the top level of a document: "Robot/Head", "Bolts/Bolt[2]"
// (scene_path_syntax.h).
#include <charconv>

#include "scene_input.h"
#include "scene_path_syntax.h"

namespace testhost::input {

namespace {

const SceneObject* Next(const SceneObject* object) { return object->next; }
const std::string& NameOf(const SceneObject* object) { return object->name; }

// The name of `object` in its path: its name, with its place among the siblings of
// that name where the name alone would find another.
std::string StepOf(const SceneObject* object) {
  const SceneObject* first = object;
  while (first->previous != nullptr) first = first->previous;
  std::size_t index = 1;
  for (const SceneObject* sibling = first; sibling != object; sibling = sibling->next)
    index += sibling->name == object->name;
  if (index == 1 && PickSibling(ParseStep(object->name), first, Next, NameOf) == object) return object->name;
  return object->name + "[" + std::to_string(index) + "]";
}

}  // namespace

PathStep ParseStep(const std::string& text) {
  PathStep step{text, text, 0};
  const std::size_t open = text.rfind('[');
  if (open == std::string::npos || text.size() < open + 3 || text.back() != ']' || text[open + 1] == '0') return step;
  std::size_t index = 0;
  const char* digits = text.data() + open + 1;
  const char* end = text.data() + text.size() - 1;
  const auto [stop, error] = std::from_chars(digits, end, index);
  if (error != std::errc() || stop != end) return step;
  step.name = text.substr(0, open);
  step.index = index;
  return step;
}

std::vector<PathStep> SplitPath(const std::string& path) {
  std::vector<PathStep> steps;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find('/', start);
    const std::string text = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (text.empty()) return {};
    steps.push_back(ParseStep(text));
    if (slash == std::string::npos) return steps;
    start = slash + 1;
  }
}

SceneObject* FindByPath(Document* document, const std::string& path) {
  if (document == nullptr) return nullptr;
  SceneObject* found = nullptr;
  SceneObject* level = document->firstRoot;
  for (const PathStep& step : SplitPath(path)) {
    found = PickSibling(step, level, [](SceneObject* object) { return object->next; },
                        [](SceneObject* object) -> const std::string& { return object->name; });
    if (found == nullptr) return nullptr;
    level = found->firstChild;
  }
  return found;
}

std::string PathOf(const SceneObject* object) {
  std::string path;
  for (; object != nullptr; object = object->parent) path = StepOf(object) + (path.empty() ? "" : "/") + path;
  return path;
}

}  // namespace testhost::input
