#include "scene_draft.h"

#include <utility>

#include "scene_input.h"
#include "scene_path_syntax.h"

namespace testhost::input {

namespace {

SceneObject* Make(Scene& scene, Document* document, const DraftObject& draft, SceneObject* parent) {
  SceneObject* object =
      scene.AddObject(document, draft.kind, {draft.points, draft.polygons, draft.ngons, draft.segments}, parent);
  object->name = draft.name;
  return object;
}

}  // namespace

bool HasPath(const Draft& draft, const std::string& path) {
  const std::vector<DraftObject>* level = &draft.roots;
  const DraftObject* found = nullptr;
  for (const PathStep& step : SplitPath(path)) {
    const DraftObject* last = level->empty() ? nullptr : &level->back();
    found = PickSibling(step, level->empty() ? nullptr : &level->front(),
                        [last](const DraftObject* object) { return object == last ? nullptr : object + 1; },
                        [](const DraftObject* object) -> const std::string& { return object->name; });
    if (found == nullptr) return false;
    level = &found->children;
  }
  return found != nullptr;
}

Document* Build(Scene& scene, const Draft& draft) {
  Document* document = scene.NewDocument();
  scene.SetActiveDocument(document);
  // Depth first without recursion: hierarchies from files can be deep.
  std::vector<std::pair<const DraftObject*, SceneObject*>> pending;
  for (auto root = draft.roots.rbegin(); root != draft.roots.rend(); ++root) pending.emplace_back(&*root, nullptr);
  while (!pending.empty()) {
    const auto [object, parent] = pending.back();
    pending.pop_back();
    SceneObject* made = Make(scene, document, *object, parent);
    for (auto child = object->children.rbegin(); child != object->children.rend(); ++child)
      pending.emplace_back(&*child, made);
  }
  scene.SetActive(document, draft.active.empty() ? document->firstRoot : FindByPath(document, draft.active));
  return document;
}

}  // namespace testhost::input
