#pragma once

#include "host_path.h"

// The folder that holds the plug-in library; an empty path when none is known.
HostPath PluginFolder();

// Loads the plug-in's resource folder (plug-in message 1).
bool LoadResources();
// Releases the resource folder (last end action and library unload).
void ReleaseResources();
