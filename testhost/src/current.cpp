#include "testhost/current.h"

#include <cstdlib>

namespace testhost {

namespace {

const HostParts* g_parts = nullptr;

const HostParts& Parts() {
  if (g_parts == nullptr) std::abort();  // an entry called with no host running
  return *g_parts;
}

}  // namespace

void SetCurrentParts(const HostParts* parts) { g_parts = parts; }

Ownership& CurrentObjects() { return *Parts().objects; }
Paths& CurrentPaths() { return *Parts().paths; }
Kernel& CurrentKernel() { return *Parts().kernel; }
Scene& CurrentScene() { return *Parts().scene; }
Windows& CurrentWindows() { return *Parts().windows; }
Resources& CurrentResources() { return *Parts().resources; }
Bitmaps& CurrentBitmaps() { return *Parts().bitmaps; }
Commands& CurrentCommands() { return *Parts().commands; }
Application& CurrentApplication() { return *Parts().application; }

}  // namespace testhost
