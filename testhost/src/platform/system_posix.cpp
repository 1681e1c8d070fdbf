#include <dlfcn.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "testhost/system.h"

namespace testhost::system {

namespace {

// The tracked paths live in fixed storage, so that a signal handler can read them.
constexpr int kTrackedPaths = 8;
constexpr std::size_t kPathBytes = 4096;
char g_tracked[kTrackedPaths][kPathBytes];
volatile sig_atomic_t g_trackedCount = 0;

}  // namespace

void* OpenLibrary(const std::string& file, std::string& error) {
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) error = dlerror();
  return library;
}

void* LibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

bool CloseLibrary(void* library) { return dlclose(library) == 0; }

// The loader knows a library by the name it was opened with, also once its file is gone.
bool LibraryStillLoaded(const std::string& file) {
  void* still = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (still == nullptr) return false;
  dlclose(still);
  return true;
}

// The folder the standard library would take, named with the variable it came from.
std::string MakeTemporaryFolder(const std::string& prefix) {
  std::string base = "/tmp", from;
  for (const char* name : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"})
    if (const char* value = getenv(name); value != nullptr && *value != '\0') {
      base = value;
      from = std::string(" (") + name + ")";
      break;
    }
  std::error_code error;
  if (!std::filesystem::is_directory(base, error))
    throw std::runtime_error("the temporary folder " + base + from +
                             (std::filesystem::exists(base, error) ? " is not a folder" : " does not exist"));
  std::string pattern = (std::filesystem::path(base) / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a folder in the temporary folder " + base + from + ": " + std::strerror(errno));
  return pattern;
}

void TrackTemporary(const std::string& path) {
  // Beyond the storage a path is removed the ordinary way only.
  if (g_trackedCount >= kTrackedPaths || path.size() >= kPathBytes) return;
  std::memcpy(g_tracked[g_trackedCount], path.c_str(), path.size() + 1);
  g_trackedCount = g_trackedCount + 1;
}

void UntrackTemporary(const std::string& path) {
  const int count = g_trackedCount;
  for (int i = count - 1; i >= 0; --i) {
    if (path != g_tracked[i]) continue;
    for (int j = i; j + 1 < count; ++j) std::memcpy(g_tracked[j], g_tracked[j + 1], kPathBytes);
    g_trackedCount = count - 1;
    return;
  }
}

void RemoveTrackedTemporaries() {
  for (int i = g_trackedCount - 1; i >= 0; --i)
    if (unlink(g_tracked[i]) != 0) rmdir(g_tracked[i]);
  g_trackedCount = 0;
}

}  // namespace testhost::system
