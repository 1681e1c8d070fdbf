#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "testhost/system.h"

namespace testhost::system {

namespace {
std::vector<std::string> g_tracked;  // no signal handler removes them here
}  // namespace

void* OpenLibrary(const std::string& file, std::string& error) {
  HMODULE library = LoadLibraryA(file.c_str());
  if (library == nullptr) error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(library);
}

void* LibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

bool CloseLibrary(void* library) { return FreeLibrary(static_cast<HMODULE>(library)) != 0; }

bool LibraryStillLoaded(const std::string& file) {
  return GetModuleHandleA(file.c_str()) != nullptr;
}

std::string MakeTemporaryFolder(const std::string& prefix) {
  static std::atomic<unsigned> serial{0};
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::filesystem::path folder =
        base / (prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++));
    if (std::filesystem::create_directory(folder)) return folder.string();
  }
  throw std::runtime_error("no temporary folder could be made in " + base.string());
}

// The loader reads the file itself and says what is wrong with it.
std::string LibraryFileProblem(const std::string&) { return ""; }

void TrackTemporary(const std::string& path) { g_tracked.push_back(path); }

void UntrackTemporary(const std::string& path) { std::erase(g_tracked, path); }

void RemoveTrackedTemporaries() {
  std::error_code ignored;
  for (auto path = g_tracked.rbegin(); path != g_tracked.rend(); ++path) std::filesystem::remove(*path, ignored);
  g_tracked.clear();
}

}  // namespace testhost::system
