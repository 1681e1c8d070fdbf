// t_HostOS_Bl: list elements: freeing an object the plug-in owns.
#include "scene_tables.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/scene.h"

namespace testhost {
namespace {

// Only a command result the plug-in took out, once; the objects below it go with
// it, and the scene's objects are never the plug-in's to free.
void FreeObject(void* object) {
  Contract contract;
  if (!contract.NotNull(object, "object")) return;
  Scene& scene = CurrentScene();
  if (scene.IsSceneObject(object)) {
    contract.Fail("object", "is " + scene.Describe(static_cast<SceneObject*>(object)) +
                                ", which belongs to a document");
    return;
  }
  // Objects the host made and still knows (live or freed) can be looked at.
  if (scene.IsLive(object) || scene.WasFreed(object)) {
    const auto* made = static_cast<const SceneObject*>(object);
    if (made->result != made) {
      contract.Fail("object", "is " + scene.Describe(made) + "; only a result itself is freed");
      return;
    }
  }
  scene.FreeObject(static_cast<SceneObject*>(object));
}

}  // namespace

void InstallListEntries(HostTables& tables) { Install<entry::FreeObject, &FreeObject, kMainThread>(tables); }

}  // namespace testhost
