// OBJ from its own lines: `v` positions (indices from 1, negative ones counted back
// from the last), `f` faces, `p` points and `l` lines over them. Faces outside any
// group belong to the file; every named `g` or `o` line starts an object under it
// (the test files never repeat the group they are in, nor reuse an `o` name), and a
// `g` without a name goes back to the file. Materials (`usemtl`) split nothing.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "reference_counts.h"

namespace scene_input_test {

namespace {

std::vector<Position> Corners(std::istringstream& words, const std::vector<Position>& positions) {
  std::vector<Position> corners;
  for (std::string corner; words >> corner;) {
    const long index = std::stol(corner.substr(0, corner.find('/')));  // "7/2/1": the position is 7
    const long at = index < 0 ? static_cast<long>(positions.size()) + index : index - 1;
    if (at < 0 || at >= static_cast<long>(positions.size())) {
      ADD_FAILURE() << "corner " << corner << " of " << positions.size() << " positions";
      continue;
    }
    corners.push_back(positions[static_cast<std::size_t>(at)]);
  }
  return corners;
}

}  // namespace

ReferenceObject ObjReference(const std::string& file) {
  ReferenceObject root{std::filesystem::path(file).filename().string(), {}, 0, 0, {}};
  ReferenceObject* current = &root;
  std::vector<Position> positions;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (keyword == "v") {
      float x = 0, y = 0, z = 0;
      words >> x >> y >> z;
      positions.push_back(PositionOf(x, y, z));
    } else if (keyword == "f") {
      current->AddFace(Corners(words, positions));
    } else if (keyword == "p" || keyword == "l") {
      const std::vector<Position> used = Corners(words, positions);
      current->positions.insert(used.begin(), used.end());
    } else if (keyword == "g" || keyword == "o") {
      std::string name;
      words >> name;
      if (name.empty()) {
        current = &root;
      } else {
        root.children.push_back({name, {}, 0, 0, {}});
        current = &root.children.back();
      }
    } else if (!keyword.empty() && keyword[0] != '#' && keyword != "usemtl" && keyword != "mtllib") {
      ADD_FAILURE() << file << ": the reference does not read '" << keyword << "' lines";
    }
  }
  return root;
}

}  // namespace scene_input_test
