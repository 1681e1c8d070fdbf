// Builds without the importer (the Windows test host): only scene files are read.
#include "readers.h"
#include "scene_input.h"

namespace testhost::input {

Document* LoadImportedFile(Scene&, const std::string& file, const std::string& extension) {
  throw InputError(file, 0, "unknown file type '" + extension + "' (this build reads .json and .scene files only)");
}

std::vector<std::string> ImporterExtensions() { return {}; }

}  // namespace testhost::input
