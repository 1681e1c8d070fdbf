// ASCII STL from its own lines: each `solid` holds facets, each facet the corners
// of its `vertex` lines. A file of one solid is that solid; the solids of a file
// of several are objects under it, named as the file names them.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "reference_counts.h"

namespace scene_input_test {

ReferenceObject StlReference(const std::string& file) {
  ReferenceObject root{std::filesystem::path(file).filename().string(), {}, 0, 0, {}};
  std::vector<Position> corners;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "solid") {
      std::string name;
      words >> name;
      root.children.push_back({name, {}, 0, 0, {}});
    } else if (keyword == "vertex") {
      float x = 0, y = 0, z = 0;
      words >> x >> y >> z;
      corners.push_back(PositionOf(x, y, z));
    } else if (keyword == "endloop" && !root.children.empty()) {
      root.children.back().AddFace(corners);
      corners.clear();
    }
  }
  if (root.children.size() == 1) {
    ReferenceObject solid = std::move(root.children.front());
    solid.name = root.name;
    return solid;
  }
  return root;
}

}  // namespace scene_input_test
