// t_HostOS_Bc: keyed containers. A container the plug-in constructs is its own and
// is destroyed before the call that built it returns; the containers the host makes
// for its messages are the host's, for the plug-in to read only.
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/ownership.h"
#include "window_arguments.h"
#include "window_tables.h"

namespace testhost {

namespace {

void ContainerInit(ContainerStorage* storage, std::int32_t id, const ContainerStorage* source) {
  Contract contract;
  if (!contract.NotNull(storage, "storage")) return;
  if (!contract.Check(reinterpret_cast<std::uintptr_t>(storage) % kContainerStorageAlignment == 0, "storage",
                      "must be aligned to " + std::to_string(kContainerStorageAlignment) + " bytes"))
    return;
  if (ContainerValue* earlier = HostWindows().Container(storage))
    contract.Fail("storage", "still holds " + CurrentObjects().Name(earlier) + "; constructing over it loses it");
  const ContainerValue* copied = source != nullptr ? LiveContainer(contract, source, "source") : nullptr;
  HostWindows().ConstructForPlugin(storage, id, copied, Describe(entry::ContainerInit) + " with id " + MessageName(id));
}

void ContainerDestroy(ContainerStorage* storage) {
  Contract contract;
  if (!contract.NotNull(storage, "container")) return;
  if (HostWindows().Container(storage) == nullptr) {
    if (const ContainerValue* destroyed = HostWindows().DestroyedIn(storage))
      CurrentObjects().GiveBack(destroyed, Describe(entry::ContainerDestroy));  // names the earlier destroy
    else
      contract.Fail("container", "holds no container the host constructed");
    return;
  }
  HostWindows().DestroyForPlugin(storage, Describe(entry::ContainerDestroy));
}

std::int32_t ContainerGetId(const ContainerStorage* storage) {
  Contract contract;
  ContainerValue* container = LiveContainer(contract, storage, "container");
  return container != nullptr ? container->id : 0;
}

void ContainerSetInt32(ContainerStorage* storage, std::int32_t key, std::int32_t value) {
  Contract contract;
  if (ContainerValue* container = OwnContainer(contract, storage, "container")) container->ints[key] = value;
}

void ContainerSetString(ContainerStorage* storage, std::int32_t key, const StringSlot* text) {
  Contract contract;
  ContainerValue* container = OwnContainer(contract, storage, "container");
  const std::string content = SlotText(contract, text, "text");
  if (container != nullptr) container->strings[key] = content;
}

std::int32_t ContainerGetInt32(const ContainerStorage* storage, std::int32_t key, std::int32_t fallback) {
  Contract contract;
  ContainerValue* container = LiveContainer(contract, storage, "container");
  if (container == nullptr) return fallback;
  auto found = container->ints.find(key);
  return found != container->ints.end() ? static_cast<std::int32_t>(found->second) : fallback;
}

}  // namespace

void InstallContainerEntries(HostTables& tables) {
  Install<entry::ContainerInit, &ContainerInit, kMainThread>(tables);
  Install<entry::ContainerDestroy, &ContainerDestroy, kMainThread>(tables);
  Install<entry::ContainerGetId, &ContainerGetId, kMainThread>(tables);
  Install<entry::ContainerSetInt32, &ContainerSetInt32, kMainThread>(tables);
  Install<entry::ContainerSetString, &ContainerSetString, kMainThread>(tables);
  Install<entry::ContainerGetInt32, &ContainerGetInt32, kMainThread>(tables);
}

}  // namespace testhost
