#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "testhost/system.h"

namespace testhost::system {

void* OpenLibrary(const std::string& file, std::string& error) {
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) error = dlerror();
  return library;
}

void* LibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

bool CloseLibrary(void* library) { return dlclose(library) == 0; }

bool LibraryStillLoaded(const std::string& file) {
  void* still = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (still == nullptr) return false;
  dlclose(still);
  return true;
}

std::string MakeTemporaryFolder(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + pattern);
  return pattern;
}

}  // namespace testhost::system
