#pragma once
// The plug-in's resource folder: found beside the library, loaded through the host,
// answering strings by id.
#include "frameworkstring.h"
#include "host_path.h"

struct ResourceObject;

inline constexpr HostOp<&t_HostOS_Lr, 0, ResourceObject*(const PathSlot*)> ResourceOpen{};
inline constexpr HostOp<&t_HostOS_Lr, 16, const core::String*(ResourceObject*, int32_t)> ResourceGetString{};
inline constexpr HostOp<&t_HostOS_Lr, 48, void(ResourceObject*, uint8_t)> ResourceClose{};
// The first entry of the strings table points to the host's shared empty string.
inline constexpr HostData<&t_HostOS_St, 0, const core::String> HostEmptyString{};

// The module's resource record; all zero when the library is loaded.
struct ResourceRecord {
  ResourceObject* handle;
  bool loaded;       // a load was tried; never cleared
  HostPath* folder;  // the resource folder's path, kept from the first load
  uint8_t globalFlag;
};
extern ResourceRecord g_resources;

// The folder that holds the plug-in library; an empty path when none is known.
HostPath PluginFolder();
// The plug-in's resource folder, written into `folder` (an empty path).
void PluginResourceFolder(HostPath& folder);

// Loads the resource folder (plug-in message 1); true when it is loaded.
bool LoadResources();
// A resource string by id; an empty string when no folder is loaded.
const core::String& LoadResourceString(int32_t id);
// Releases the resource folder (last end action and library unload).
void ReleaseResources();
