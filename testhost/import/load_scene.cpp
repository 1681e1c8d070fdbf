// LoadScene: the checks every file gets, then the reader its extension names.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "readers.h"
#include "scene_input.h"

namespace testhost::input {

namespace {

std::string LowerExtension(const std::string& file) {
  std::string extension = std::filesystem::path(file).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// Missing, a folder, unreadable or empty: the same reason for every format.
void CheckFile(const std::string& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) throw InputError(file, 0, "no such file");
  if (std::filesystem::is_directory(status)) throw InputError(file, 0, "is a folder, not a file");
  if (!std::filesystem::is_regular_file(status)) throw InputError(file, 0, "is not a regular file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw InputError(file, 0, std::string("cannot be read: ") + std::strerror(errno));
  if (in.peek() == std::ifstream::traits_type::eof()) throw InputError(file, 0, "the file is empty");
}

}  // namespace

Document* LoadScene(Scene& scene, const std::string& file) {
  CheckFile(file);
  const std::string extension = LowerExtension(file);
  if (extension == ".json") return LoadJsonScene(scene, file);
  if (extension == ".scene") return LoadTextScene(scene, file);
  return LoadImportedFile(scene, file, extension);
}

std::vector<std::string> ImportedExtensions() { return ImporterExtensions(); }

}  // namespace testhost::input
