// Paths of names from the top level of a document: "Robot/Head", "Bolts/Bolt[2]"
// (scene_path_syntax.h).
#include <algorithm>
#include <charconv>
#include <map>

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

// The steps that name each of the siblings from `first` on, in their order: what
// StepOf gives each, with the names counted once for the whole list.
std::vector<std::string> StepsOfSiblings(const SceneObject* first) {
  std::map<std::string, std::size_t> named;
  for (const SceneObject* sibling = first; sibling != nullptr; sibling = sibling->next) ++named[sibling->name];
  std::map<std::string, std::size_t> seen;
  std::vector<std::string> steps;
  for (const SceneObject* sibling = first; sibling != nullptr; sibling = sibling->next) {
    const std::size_t index = ++seen[sibling->name];
    // The name alone finds the first of its name, unless it reads as NAME[N] and
    // N siblings are called NAME (scene_path_syntax.h).
    bool alone = index == 1;
    if (const PathStep step = ParseStep(sibling->name); alone && step.index != 0) {
      const auto shorter = named.find(step.name);
      alone = shorter == named.end() || shorter->second < step.index;
    }
    steps.push_back(alone ? sibling->name : sibling->name + "[" + std::to_string(index) + "]");
  }
  return steps;
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

std::vector<ObjectPath> AllPaths(Document* document) {
  std::vector<ObjectPath> paths;
  if (document == nullptr) return paths;
  // Objects still to list, the next one last; iterative, as hierarchies run deep.
  std::vector<ObjectPath> pending;
  auto pushSiblings = [&pending](SceneObject* first, const std::string& parentPath, int depth) {
    const std::vector<std::string> steps = StepsOfSiblings(first);
    const std::size_t before = pending.size();
    std::size_t i = 0;
    for (SceneObject* sibling = first; sibling != nullptr; sibling = sibling->next, ++i)
      pending.push_back({sibling, parentPath.empty() ? steps[i] : parentPath + "/" + steps[i], depth});
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(before), pending.end());
  };
  pushSiblings(document->firstRoot, "", 0);
  while (!pending.empty()) {
    paths.push_back(std::move(pending.back()));
    pending.pop_back();
    const ObjectPath& listed = paths.back();
    if (listed.object->firstChild != nullptr) pushSiblings(listed.object->firstChild, listed.path, listed.depth + 1);
  }
  return paths;
}

}  // namespace testhost::input
