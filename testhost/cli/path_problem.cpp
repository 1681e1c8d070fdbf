#include "path_problem.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace cli {

namespace fs = std::filesystem;

std::string PathProblem(const std::string& path, PathKind kind) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error == std::errc::too_many_symbolic_link_levels) return "a loop of symbolic links";
  if (!fs::exists(status)) return kind == PathKind::kFile ? "no such file" : "not a folder";
  if (kind == PathKind::kFolder) return fs::is_directory(status) ? "" : "not a folder";
  if (fs::is_directory(status)) return "is a folder, not a file";
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string("cannot be read: ") + std::strerror(errno);
  return "";
}

}  // namespace cli
