#include "host_resource.h"

#include "error.h"
#include "host_pmain.h"
#include "host_scene.h"
#include "memory.h"
#include "object.h"

ResourceRecord g_resources;

namespace {

const core::String g_emptyString;

// Anything still held when the library is unloaded is released then.
struct ReleaseAtUnload {
  ~ReleaseAtUnload() { ReleaseResources(); }
} g_releaseAtUnload;

// The folder of the host's scene framework module, as the framework reports it.
void SceneModuleFolder(HostPath& folder) {
  const core::Result<core::StringObject*> location =
      core::Method<iface::Application, iface::Application::GetModuleLocation>(&iface::framework::kScene);
  core::String text;
  *text.Slot() = location.value;  // the reference now belongs to `text`
  core::ReleaseError(location.error);
  if (location.error != nullptr || text.IsNull()) return;
  PathSetString(folder.slot(), text.Slot());
}

}  // namespace

HostPath PluginFolder() {
  if (PluginFileStore == nullptr) return HostPath();
  return HostPath(HostPath::kDirectory, *PluginFileStore);
}

void PluginResourceFolder(HostPath& folder) {
  HostPath moduleFolder;
  SceneModuleFolder(moduleFolder);
  const HostPath pluginFolder = PluginFolder();
  if (PluginFileStore != nullptr && pluginFolder.Equals(moduleFolder)) {
    // One of the host's own modules: its resources lie below the application.
    HostPath library(PluginFileStore->slot());
    library.ClearSuffix();
    const HostPath name(HostPath::kFilePart, library);
    folder.Assign(HostPath(HostPath::ApplicationFolderTag{}));
    folder.Append(HostPath("resource"));
    folder.Append(HostPath("modules"));
    folder.Append(name);
    return;
  }
  folder.Assign(HostPath(pluginFolder, HostPath("res")));
}

bool LoadResources() {
  HostPath path;
  PluginResourceFolder(path);
  g_resources.globalFlag = 1;
  if (g_resources.folder == nullptr) {
    static constexpr core::SourceLocation kFolderStore{__FILE__, __LINE__, 0};
    g_resources.folder = core::FrameworkNew<HostPath>(kFolderStore, path.slot());
    if (g_resources.folder == nullptr) return false;
  }
  if (g_resources.loaded) return g_resources.handle != nullptr;
  g_resources.handle = ResourceOpen(path.slot());
  g_resources.loaded = true;
  return g_resources.handle != nullptr;
}

const core::String& LoadResourceString(int32_t id) {
  if (g_resources.handle != nullptr) {
    if (const core::String* text = ResourceGetString(g_resources.handle, id)) return *text;
  }
  if (t_HostOS == nullptr) return g_emptyString;
  const core::String* shared = HostEmptyString();
  return shared != nullptr ? *shared : g_emptyString;
}

void ReleaseResources() {
  if (g_resources.handle != nullptr) {
    ResourceClose(g_resources.handle, g_resources.globalFlag);
    g_resources.handle = nullptr;
  }
  if (g_resources.folder != nullptr) {
    g_resources.folder->~HostPath();
    core::FrameworkFree(g_resources.folder);
    g_resources.folder = nullptr;
  }
}
