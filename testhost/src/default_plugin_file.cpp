// The build's plug-in library, for the tests and benchmarks. Alone in its file so
// that a program which never asks for it (statlume-host finds the plug-in beside
// itself) links none of it and carries no path of the build.
#include <cstdlib>

#include "testhost/host.h"

namespace testhost {

std::string Host::DefaultPluginFile() {
  if (const char* fromEnvironment = std::getenv("STATLUME_PLUGIN_FILE")) return fromEnvironment;
  return STATLUME_DEFAULT_PLUGIN_FILE;
}

}  // namespace testhost
