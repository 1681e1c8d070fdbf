// t_HostOS_Lr: resource folders: opened for the plug-in, read by string id, closed.
#include "object_arguments.h"
#include "scene_tables.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/ownership.h"
#include "testhost/paths.h"
#include "testhost/resources.h"

namespace testhost {
namespace {

Resources& TheResources() { return CurrentResources(); }

ResourceFolder* ResourceOpen(const PathValue* const* path) {
  Contract contract;
  const PathValue* folder = PathIn(contract, path, "path");
  return folder != nullptr ? TheResources().Open(folder->text) : nullptr;
}

// An open folder the host handed out; null (and a failure) otherwise.
ResourceFolder* OpenFolder(Contract& contract, const void* folder) {
  if (!contract.NotNull(folder, "folder")) return nullptr;
  if (ResourceFolder* open = TheResources().Find(folder)) return open;
  const Holding* holding = CurrentObjects().Find(folder);
  if (holding != nullptr && holding->released)
    contract.Fail("folder", "is " + CurrentObjects().Name(folder) + ", closed already");
  else
    contract.Fail("folder", "is not a resource folder the host opened");
  return nullptr;
}

// The host's own string: the caller reads it and never releases it.
const FrameworkObject* const* ResourceGetString(const void* folder, std::int32_t id) {
  Contract contract;
  ResourceFolder* open = OpenFolder(contract, folder);
  return open != nullptr ? TheResources().String(open, id) : nullptr;
}

void ResourceClose(const void* folder, std::uint8_t flag) {
  Contract contract;
  contract.Is(static_cast<int>(flag), static_cast<int>(kResourceGlobalFlag), "flag");
  TheResources().closeFlags.push_back(flag);
  if (contract.NotNull(folder, "folder")) TheResources().Close(folder, Describe(entry::ResourceClose));
}

}  // namespace

void InstallResourceFolderEntries(HostTables& tables) {
  Install<entry::ResourceOpen, &ResourceOpen, kMainThread>(tables);
  Install<entry::ResourceGetString, &ResourceGetString, kMainThread>(tables);
  Install<entry::ResourceClose, &ResourceClose, kMainThread>(tables);
}

}  // namespace testhost
