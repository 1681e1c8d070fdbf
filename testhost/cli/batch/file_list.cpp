#include "file_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "scene_input.h"

namespace batch {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Counted(const fs::path& file, const std::vector<std::string>& extensions) {
  const std::string name = Lower(file.filename().string());
  return std::any_of(extensions.begin(), extensions.end(), [&name](const std::string& extension) {
    return name.size() > extension.size() && name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
  });
}

// The folder's files of the counted formats, sorted; `problem` set when the folder
// cannot be read through. Linked folders are not entered (they may loop); linked
// files are taken.
std::vector<std::string> FolderFiles(const std::string& folder, std::string& problem) {
  const std::vector<std::string> extensions = CountedExtensions();
  std::vector<std::string> files;
  std::error_code error;
  fs::recursive_directory_iterator entry(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
    std::error_code ignored;
    if (entry->is_regular_file(ignored) && Counted(entry->path(), extensions)) files.push_back(entry->path().string());
  }
  if (error) problem = "cannot be read: " + error.message();
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::vector<std::string> CountedExtensions() {
  std::vector<std::string> extensions = testhost::input::ImportedExtensions();
  extensions.push_back(".json");
  extensions.push_back(".scene");
  return extensions;
}

bool IsFolder(const std::string& argument) {
  std::error_code error;
  return fs::is_directory(argument, error);
}

std::vector<ListedFile> ListFiles(const std::vector<std::string>& arguments) {
  std::vector<ListedFile> listed;
  for (const std::string& argument : arguments) {
    if (!IsFolder(argument)) {
      listed.push_back({argument, ""});
      continue;
    }
    std::string problem;
    const std::vector<std::string> files = FolderFiles(argument, problem);
    for (const std::string& file : files) listed.push_back({file, ""});
    if (!problem.empty()) listed.push_back({argument, argument + ": " + problem});
    else if (files.empty()) listed.push_back({argument, argument + ": holds no file the program reads"});
  }
  return listed;
}

}  // namespace batch
