#include "include_graph.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>

namespace fs = std::filesystem;

IncludeGraph::IncludeGraph(const fs::path& source, const std::vector<std::string>& roots,
                           const std::vector<std::string>& includeFolders)
    : source_(source) {
  for (const std::string& root : roots)
    for (const auto& entry : fs::recursive_directory_iterator(source / root)) {
      const std::string extension = entry.path().extension().string();
      if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
        files_.push_back(fs::relative(entry.path(), source).generic_string());
    }
  const std::set<std::string> known(files_.begin(), files_.end());
  const std::regex quoted(R"re(^\s*#\s*include\s+"([^"]+)")re");
  for (const std::string& file : files_) {
    std::set<std::string>& found = includes_[file];
    std::ifstream in(source / file);
    for (std::string line; std::getline(in, line);) {
      std::smatch match;
      if (!std::regex_search(line, match, quoted)) continue;
      std::vector<fs::path> candidates{fs::path(file).parent_path() / match[1].str()};
      for (const std::string& folder : includeFolders) candidates.push_back(fs::path(folder) / match[1].str());
      for (const fs::path& candidate : candidates) {
        const std::string name = candidate.lexically_normal().generic_string();
        if (known.count(name) != 0) {
          found.insert(name);
          break;
        }
      }
    }
  }
}

const std::set<std::string>& IncludeGraph::Includes(const std::string& file) const {
  static const std::set<std::string> none;
  const auto found = includes_.find(file);
  return found != includes_.end() ? found->second : none;
}

std::set<std::string> IncludeGraph::Closure(const std::string& file) const {
  std::set<std::string> seen;
  std::vector<std::string> pending{file};
  while (!pending.empty()) {
    const std::string next = pending.back();
    pending.pop_back();
    for (const std::string& included : Includes(next))
      if (seen.insert(included).second) pending.push_back(included);
  }
  return seen;
}

std::map<std::string, std::set<std::string>> IncludeGraph::FolderEdges() const {
  std::map<std::string, std::set<std::string>> edges;
  for (const auto& [file, included] : includes_) {
    const std::string from = fs::path(file).parent_path().generic_string();
    edges[from];
    for (const std::string& target : included) {
      const std::string to = fs::path(target).parent_path().generic_string();
      if (to != from) edges[from].insert(to);
    }
  }
  return edges;
}

std::string IncludeGraph::FolderCycle() const {
  const auto edges = FolderEdges();
  std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
  std::vector<std::string> path;
  std::string cycle;
  std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
    state[folder] = 1;
    path.push_back(folder);
    for (const std::string& next : edges.at(folder)) {
      if (state[next] == 1) {
        auto at = std::find(path.begin(), path.end(), next);
        for (; at != path.end(); ++at) cycle += *at + " -> ";
        cycle += next;
        return true;
      }
      if (state[next] == 0 && edges.count(next) != 0 && visit(next)) return true;
    }
    path.pop_back();
    state[folder] = 2;
    return false;
  };
  for (const auto& [folder, unused] : edges)
    if (state[folder] == 0 && visit(folder)) return cycle;
  return "";
}
