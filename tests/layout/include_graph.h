#pragma once
// The source tree's own includes, read as text: which file includes which, with
// quoted includes resolved the way the build resolves them (beside the file, then
// in the include folders given).
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

class IncludeGraph {
 public:
  // Reads every .h and .cpp file below `roots` (paths relative to `source`).
  IncludeGraph(const std::filesystem::path& source, const std::vector<std::string>& roots,
               const std::vector<std::string>& includeFolders);

  const std::vector<std::string>& Files() const { return files_; }
  // The files `file` includes directly (relative paths).
  const std::set<std::string>& Includes(const std::string& file) const;
  // Every file `file` reads, directly or through other files.
  std::set<std::string> Closure(const std::string& file) const;
  // The folders of the tree and the folders each includes from (itself left out).
  std::map<std::string, std::set<std::string>> FolderEdges() const;
  // One folder cycle as "a -> b -> a", or empty when the folders depend one way.
  std::string FolderCycle() const;

 private:
  std::filesystem::path source_;
  std::vector<std::string> files_;
  std::map<std::string, std::set<std::string>> includes_;
};
