#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "testhost/system.h"

namespace testhost::system {

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

}  // namespace testhost::system
