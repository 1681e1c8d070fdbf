// Loading the plug-in library: static initialisation, kernel binding and module
// start, against loading a library with nothing in it.
#include <dlfcn.h>

#include <cstdio>
#include <string>

#include "testhost/host.h"
#include "timing.h"

int main() {
  const std::string plugin = testhost::Host::DefaultPluginFile();
  const std::string empty = STATLUME_EMPTY_LIBRARY;
  auto host = testhost::Host::TablesOnly();
  constexpr int kRuns = 400;

  const double baseline = bench::MedianMicroseconds(kRuns, [&] {
    void* library = dlopen(empty.c_str(), RTLD_NOW | RTLD_LOCAL);
    dlclose(library);
  });
  const double staticInit = bench::MedianMicroseconds(kRuns, [&] {
    void* library = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
    dlclose(library);
  });
  const double whole = bench::MedianMicroseconds(kRuns, [&] {
    void* library = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* framework = dlsym(library, "g_framework");
    host->Framework().Bind(framework);
    host->Framework().RunStartFunctions();
    host->Framework().RunEndFunctions();
    dlclose(library);
  });
  std::printf("Loading (median of %d runs; ratio against loading an empty library)\n", kRuns);
  bench::Report("empty library: dlopen + dlclose (baseline)", baseline, baseline);
  bench::Report("plug-in: dlopen (static initialisation) + dlclose", staticInit, baseline);
  bench::Report("plug-in: + kernel binding, module start and end", whole, baseline);
  std::printf("plug-in cost over the empty library: %.2f us (static init), %.2f us (all)\n",
              staticInit - baseline, whole - baseline);
  return host->Failures().empty() ? 0 : 1;
}
