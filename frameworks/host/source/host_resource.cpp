#include "host_resource.h"

#include "host_pmain.h"

HostPath PluginFolder() {
  if (PluginFileStore == nullptr) return HostPath();
  return HostPath(HostPath::kDirectory, *PluginFileStore);
}

// The resource folder arrives with the resource support; until then every load
// fails as a missing folder would and there is nothing to release.
bool LoadResources() { return false; }
void ReleaseResources() {}
