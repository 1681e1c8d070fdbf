#pragma once
// Why a path the user gave cannot be read as a file or a folder, in the words the
// program's messages use: "no such file", "a loop of symbolic links", ...
#include <string>

namespace cli {

enum class PathKind { kFile, kFolder };

// Empty when the path is a `kind` the program can open.
std::string PathProblem(const std::string& path, PathKind kind);

}  // namespace cli
