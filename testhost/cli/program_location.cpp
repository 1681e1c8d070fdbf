#include "program_location.h"

#include <filesystem>

#include "usage_error.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

// The prefix the program is installed under: the folder above its bin/ folder.
fs::path Prefix() { return fs::path(ProgramFile()).parent_path().parent_path(); }

}  // namespace

std::string ProgramFile(const char* argv0) {
  try {
    return ProgramFile();
  } catch (const UsageError&) {
    return argv0;
  }
}

std::string DefaultPluginFolder() { return (Prefix() / "plugins" / "statlume").generic_string(); }

std::string BundledScene() {
  return (Prefix() / "share" / "statlume-host" / "scenes" / "default.scene").generic_string();
}

}  // namespace cli
