// LoadScene: the checks every file gets, then the reader its extension names.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

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
  if (error == std::errc::too_many_symbolic_link_levels) throw InputError(file, 0, "a loop of symbolic links");
  if (!std::filesystem::exists(status)) throw InputError(file, 0, "no such file");
  if (std::filesystem::is_directory(status)) throw InputError(file, 0, "is a folder, not a file");
  if (!std::filesystem::is_regular_file(status)) throw InputError(file, 0, "is not a regular file");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw InputError(file, 0, std::string("cannot be read: ") + std::strerror(errno));
  if (in.peek() == std::ifstream::traits_type::eof()) throw InputError(file, 0, "the file is empty");
}

// A file without an extension is known by its start: a JSON scene by its brace, a
// text scene by a first line that names an object and a kind. Anything else goes
// to the importer, which knows most of its formats by their content.
std::string ExtensionByContent(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  if (head.rfind("\xEF\xBB\xBF", 0) == 0) head.erase(0, 3);
  const std::size_t first = head.find_first_not_of(" \t\r\n");
  if (first != std::string::npos && head[first] == '{') return ".json";
  std::istringstream lines(head);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string name, kind;
    if (!(words >> name) || name[0] == '#') continue;
    ObjectKind named;
    return words >> kind && KindNamed(kind, named) ? ".scene" : "";
  }
  return "";
}

}  // namespace

Document* LoadScene(Scene& scene, const std::string& file) {
  CheckFile(file);
  std::string extension = LowerExtension(file);
  if (extension.empty()) extension = ExtensionByContent(file);
  if (extension == ".json") return LoadJsonScene(scene, file);
  if (extension == ".scene") return LoadTextScene(scene, file);
  return LoadImportedFile(scene, file, extension);
}

std::vector<std::string> ImportedExtensions() { return ImporterExtensions(); }

}  // namespace testhost::input
