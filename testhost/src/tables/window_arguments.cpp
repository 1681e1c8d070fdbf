#include "window_arguments.h"

#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/kernel.h"
#include "testhost/ownership.h"
#include "testhost/windows.h"

namespace testhost {

namespace {

std::string NameOf(const void* object) { return CurrentObjects().Name(object); }

bool IsLiveString(const void* object) {
  if (!CurrentKernel().IsLiveObject(object)) return false;
  const Holding* holding = CurrentObjects().Find(object);
  return holding != nullptr && holding->kind.rfind("string", 0) == 0;
}

}  // namespace

Windows& HostWindows() { return CurrentWindows(); }

bool Served(const EntryId& entry) {
  const HostTables& tables = HostTables::Current();
  return !tables.FailureArmed(entry) && tables.OverrideFor(entry) == nullptr;
}

Window* LiveWindow(Contract& contract, const void* handle, const char* argument) {
  if (!contract.NotNull(handle, argument)) return nullptr;
  if (Window* window = HostWindows().Find(handle)) return window;
  if (HostWindows().WasReleased(handle))
    contract.Fail(argument, "is " + NameOf(handle) + ", released already");
  else
    contract.Fail(argument, "is not a window object the host created");
  return nullptr;
}

UserArea* LiveArea(Contract& contract, const void* handle, const char* argument) {
  if (!contract.NotNull(handle, argument)) return nullptr;
  if (UserArea* area = HostWindows().FindArea(handle)) return area;
  if (HostWindows().WasReleasedArea(handle))
    contract.Fail(argument, "is " + NameOf(handle) + ", released already");
  else
    contract.Fail(argument, "is not a user area the host created");
  return nullptr;
}

ContainerValue* LiveContainer(Contract& contract, const void* storage, const char* argument) {
  if (!contract.NotNull(storage, argument)) return nullptr;
  if (ContainerValue* container = HostWindows().Container(storage)) return container;
  if (const ContainerValue* destroyed = HostWindows().DestroyedIn(storage))
    contract.Fail(argument, "holds " + NameOf(destroyed) + ", destroyed already");
  else
    contract.Fail(argument, "holds no container the host constructed");
  return nullptr;
}

ContainerValue* OwnContainer(Contract& contract, const void* storage, const char* argument) {
  ContainerValue* container = LiveContainer(contract, storage, argument);
  if (container == nullptr) return nullptr;
  if (!HostWindows().IsPluginOwned(container)) {
    contract.Fail(argument, "is " + NameOf(container) + ", which the plug-in may only read");
    return nullptr;
  }
  return container;
}

std::string SlotText(Contract& contract, const StringSlot* slot, const char* argument) {
  if (!contract.NotNull(slot, argument)) return std::string();
  if (*slot == nullptr) return std::string();  // the empty string holds no object
  if (!IsLiveString(*slot)) {
    contract.Fail(argument, "holds " + NameOf(*slot) + ", not a live string");
    return std::string();
  }
  return CurrentKernel().StringText(*slot);
}

bool IsFlag(Contract& contract, std::int64_t value, const char* argument) {
  return contract.Check(value == 0 || value == 1, argument, "must be 0 or 1, was " + std::to_string(value));
}

bool ElementPointer(Contract& contract, const Window& window, std::int32_t element, const void* pointer,
                    const char* argument) {
  auto gui = window.customGuis.find(element);
  const void* expected = gui != window.customGuis.end() ? gui->second : nullptr;
  if (pointer == expected) return true;
  return contract.Fail(argument, expected == nullptr
                                     ? "must be null for the ordinary element " + std::to_string(element)
                                     : "must be the custom GUI of element " + std::to_string(element));
}

}  // namespace testhost
