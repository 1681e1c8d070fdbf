// The entries a count calls per object, and its modeling commands, answered straight
// from the scene: no argument contracts, no thread checks, no call records, no
// failures or overrides a test set, and command results kept out of the ownership
// registry (Scene::SetBare). The answers are the strict entries' answers to a
// plug-in that passes what it should; one that does not reads whatever its
// pointers point at. For benchmarks only (Host::SetBareAnswers), so that they
// measure the plug-in rather than the host's checks.
#include "testhost/current.h"
#include "testhost/entry.h"
#include "testhost/scene.h"
#include "testhost/table_installers.h"

namespace testhost {
namespace {

const SceneObject* Object(const void* object) { return static_cast<const SceneObject*>(object); }

std::int32_t TagElementCount(const void* object, std::int32_t type) {
  if (type == kTagPolygons) return Object(object)->polygons;
  return type == kTagPoints ? Object(object)->points : 0;
}
std::int32_t NgonCount(const void* object) { return Object(object)->ngons; }
std::int32_t ObjectInfoFlags(const void* object) { return Object(object)->infoFlags; }

// Bools in a whole register, as the strict entries answer them.
std::uint64_t IsInstanceOfType(const void* node, std::int32_t type) {
  const ObjectKind kind = Object(node)->kind;
  return WidenBool(TypeOf(kind) == type || (kind == ObjectKind::Polygon && type == kTypePoint));
}
SceneObject* NextSibling(const void* node) { return Object(node)->next; }
SceneObject* ParentOf(const void* node) { return Object(node)->parent; }
SceneObject* FirstChild(const void* node) { return Object(node)->firstChild; }

Document* ActiveDocument() { return CurrentScene().ActiveDocument(); }
SceneObject* ActiveObject(const Document* document) { return document->active; }

std::uint64_t RunModelingCommand(std::int32_t command, void* record) {
  return WidenBool(CurrentScene().RunCommand(command, static_cast<CommandRecord*>(record)));
}
SceneObject* ResultListAt(const void* list, std::int32_t index) {
  return CurrentScene().ResultAt(static_cast<ResultListValue*>(const_cast<void*>(list)), index);
}
void FreeResultList(ResultListValue** field) {
  if (*field != nullptr) CurrentScene().FreeResultList(field);
}
void FreeObject(void* object) { CurrentScene().FreeObject(static_cast<SceneObject*>(object)); }

template <typename F>
std::pair<EntryId, void*> Raw(const EntryId& entry, F* function) {
  return {entry, reinterpret_cast<void*>(function)};
}

}  // namespace

std::vector<std::pair<EntryId, void*>> BareSceneEntries() {
  return {Raw(entry::TagElementCount, &TagElementCount), Raw(entry::NgonCount, &NgonCount),
          Raw(entry::ObjectInfoFlags, &ObjectInfoFlags),  Raw(entry::IsInstanceOfType, &IsInstanceOfType),
          Raw(entry::NextSibling, &NextSibling),          Raw(entry::ParentOf, &ParentOf),
          Raw(entry::FirstChild, &FirstChild),            Raw(entry::ActiveDocument, &ActiveDocument),
          Raw(entry::ActiveObject, &ActiveObject),        Raw(entry::RunModelingCommand, &RunModelingCommand),
          Raw(entry::ResultListAt, &ResultListAt),        Raw(entry::FreeResultList, &FreeResultList),
          Raw(entry::FreeObject, &FreeObject)};
}

}  // namespace testhost
