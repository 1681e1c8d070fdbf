#include "object_arguments.h"

#include "testhost/bitmaps.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/kernel.h"
#include "testhost/ownership.h"
#include "testhost/paths.h"
#include "testhost/scene.h"

namespace testhost {

namespace {

std::string NameOf(const void* object) { return CurrentObjects().Name(object); }

bool WasReleased(const void* object) {
  const Holding* holding = CurrentObjects().Find(object);
  return holding != nullptr && holding->released;
}

bool IsLiveString(const void* object) {
  if (!CurrentKernel().IsLiveObject(object)) return false;
  const Holding* holding = CurrentObjects().Find(object);
  return holding != nullptr && holding->kind.rfind("string", 0) == 0;
}

}  // namespace

bool LiveStringSlot(Contract& contract, const StringSlot* slot, const char* argument, std::string* text) {
  if (!contract.NotNull(slot, argument)) return false;
  if (*slot == nullptr) {
    if (text != nullptr) text->clear();
    return true;
  }
  if (!IsLiveString(*slot))
    return contract.Fail(argument, "must hold a live string or null, holds " + NameOf(*slot) +
                                       (WasReleased(*slot) ? ", released already" : ""));
  if (text != nullptr) *text = CurrentKernel().StringText(*slot);
  return true;
}

bool EmptyPathSlot(Contract& contract, const void* slot, const char* argument) {
  if (!contract.NotNull(slot, argument)) return false;
  const void* held = *static_cast<const void* const*>(slot);
  if (held == nullptr) return true;
  return contract.Fail(argument, "must be an empty slot (set to null), holds " + NameOf(held));
}

PathValue* PathIn(Contract& contract, const void* slot, const char* argument) {
  if (!contract.NotNull(slot, argument)) return nullptr;
  auto* path = *static_cast<PathValue* const*>(slot);
  if (path != nullptr && CurrentPaths().IsLive(path)) return path;
  if (path == nullptr)
    contract.Fail(argument, "must hold a path value, holds null");
  else if (WasReleased(path))
    contract.Fail(argument, "holds " + NameOf(path) + ", destroyed already");
  else
    contract.Fail(argument, "holds no path value the host made");
  return nullptr;
}

PathValue* OwnPathIn(Contract& contract, const void* slot, const char* argument) {
  PathValue* path = PathIn(contract, slot, argument);
  if (path == nullptr) return nullptr;
  if (!CurrentObjects().IsPluginOwned(path)) {
    contract.Fail(argument, "holds " + NameOf(path) + ", which the plug-in may only read");
    return nullptr;
  }
  return path;
}

SceneObject* LiveSceneObject(Contract& contract, const void* object, const char* argument) {
  if (!contract.NotNull(object, argument)) return nullptr;
  Scene& scene = CurrentScene();
  auto* live = static_cast<SceneObject*>(const_cast<void*>(object));
  if (!scene.Validating() || scene.IsLive(object)) return live;
  if (scene.WasFreed(object))
    contract.Fail(argument, "is " + scene.Describe(live) + ", freed already");
  else
    contract.Fail(argument, "is not an object the host knows");
  return nullptr;
}

Bitmap* HeldBitmap(Contract& contract, const void* bitmap, const char* argument) {
  if (!contract.NotNull(bitmap, argument)) return nullptr;
  if (Bitmap* live = CurrentBitmaps().Find(bitmap)) return live;
  if (WasReleased(bitmap))
    contract.Fail(argument, "is " + NameOf(bitmap) + ", freed already");
  else
    contract.Fail(argument, "is not a bitmap the host made");
  return nullptr;
}

}  // namespace testhost
