// t_HostOS_At: list nodes and node arrays: type tests, the hierarchy, and the
// result lists of modeling commands.
#include "object_arguments.h"
#include "scene_tables.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/ownership.h"
#include "testhost/scene.h"

namespace testhost {
namespace {

Scene& TheScene() { return CurrentScene(); }

// A polygon object is a point object too.
bool IsInstanceOfType(const void* node, std::int32_t type) {
  Contract contract;
  const SceneObject* object = LiveSceneObject(contract, node, "node");
  if (object == nullptr) return false;
  return TypeOf(object->kind) == type || (object->kind == ObjectKind::Polygon && type == kTypePoint);
}

SceneObject* NextSibling(const void* node) {
  Contract contract;
  const SceneObject* object = LiveSceneObject(contract, node, "node");
  return object != nullptr ? object->next : nullptr;
}

SceneObject* ParentOf(const void* node) {
  Contract contract;
  const SceneObject* object = LiveSceneObject(contract, node, "node");
  return object != nullptr ? object->parent : nullptr;
}

SceneObject* FirstChild(const void* node) {
  Contract contract;
  const SceneObject* object = LiveSceneObject(contract, node, "node");
  return object != nullptr ? object->firstChild : nullptr;
}

// A live list the host handed out; null (and a failure) otherwise.
ResultListValue* LiveList(Contract& contract, const void* list, const char* argument) {
  if (!contract.NotNull(list, argument)) return nullptr;
  if (ResultListValue* live = TheScene().List(list)) return live;
  const Holding* holding = CurrentObjects().Find(list);
  if (holding != nullptr && holding->released)
    contract.Fail(argument, "is " + CurrentObjects().Name(list) + ", released already");
  else
    contract.Fail(argument, "is not a result list the host made");
  return nullptr;
}

SceneObject* ResultListAt(const void* list, std::int32_t index) {
  Contract contract;
  ResultListValue* results = LiveList(contract, list, "list");
  if (!contract.Is(index, 0, "index") || results == nullptr) return nullptr;
  return TheScene().ResultAt(results, index);
}

// The address of a record's result field; the field may be null (no command ran).
void FreeResultList(ResultListValue** field) {
  Contract contract;
  if (!contract.NotNull(field, "field") || *field == nullptr) return;
  ResultListValue* list = LiveList(contract, *field, "field");
  if (list == nullptr ||
      !contract.Check(list->field == field, "field",
                      "must be the result field of the record the host put the list in"))
    return;
  TheScene().FreeResultList(field);
}

}  // namespace

void InstallNodeEntries(HostTables& tables) {
  Install<entry::IsInstanceOfType, &IsInstanceOfType, kMainThread>(tables);
  Install<entry::NextSibling, &NextSibling, kMainThread>(tables);
  Install<entry::ParentOf, &ParentOf, kMainThread>(tables);
  Install<entry::FirstChild, &FirstChild, kMainThread>(tables);
  Install<entry::FreeResultList, &FreeResultList, kMainThread>(tables);
  Install<entry::ResultListAt, &ResultListAt, kMainThread>(tables);
}

}  // namespace testhost
