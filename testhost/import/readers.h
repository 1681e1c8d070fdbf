#pragma once
// The readers LoadScene picks from by extension. Each gets a file that exists, is
// a regular file, can be opened and is not empty, and throws InputError for
// everything else. The build picks one source per reader and platform:
// json_scene.cpp or json_none.cpp, import_assimp.cpp or import_none.cpp.
#include <string>
#include <vector>

#include "testhost/scene.h"

namespace testhost::input {

// Objects nested deeper than this are refused: the readers and the scene walk
// hierarchies, and a file must not be able to exhaust the stack.
inline constexpr int kMaxDepth = 1000;

Document* LoadJsonScene(Scene& scene, const std::string& file);
Document* LoadTextScene(Scene& scene, const std::string& file);
// `extension` is lower case, with its dot.
Document* LoadImportedFile(Scene& scene, const std::string& file, const std::string& extension);
std::vector<std::string> ImporterExtensions();

}  // namespace testhost::input
