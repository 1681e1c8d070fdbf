// glTF from its own JSON and buffers: the scene's nodes with their names and
// children, and for every primitive of a node's mesh the positions its indices
// pick from the POSITION accessor (all of them without indices). Triangles make
// polygons, points only positions. A file of one root node is that node; the root
// nodes of a file of several are objects under it. Buffers are files beside it.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "reference_counts.h"

namespace scene_input_test {

namespace {

using Json = nlohmann::json;

constexpr int kPoints = 0, kTriangles = 4;

class GltfFile {
 public:
  explicit GltfFile(const std::string& file) : folder_(std::filesystem::path(file).parent_path()) {
    std::ifstream in(file);
    document_ = Json::parse(in);
  }

  ReferenceObject Top(const std::string& name) {
    const Json& scene = document_.at("scenes").at(document_.value("scene", 0));
    ReferenceObject top{name, {}, 0, 0, {}};
    for (const Json& root : scene.at("nodes")) top.children.push_back(Node(root.get<std::size_t>()));
    if (top.children.size() != 1) return top;
    ReferenceObject only = std::move(top.children.front());
    only.name = name;
    return only;
  }

 private:
  ReferenceObject Node(std::size_t index) {
    const Json& node = document_.at("nodes").at(index);
    ReferenceObject object{node.value("name", std::string()), {}, 0, 0, {}};
    if (node.contains("mesh"))
      for (const Json& primitive : document_.at("meshes").at(node.at("mesh").get<std::size_t>()).at("primitives"))
        AddPrimitive(primitive, object);
    for (const Json& child : node.value("children", Json::array()))
      object.children.push_back(Node(child.get<std::size_t>()));
    return object;
  }

  void AddPrimitive(const Json& primitive, ReferenceObject& object) {
    const std::string positions = AccessorBytes(primitive.at("attributes").at("POSITION").get<std::size_t>(), 12);
    std::vector<std::uint32_t> indices;
    if (primitive.contains("indices")) {
      indices = Indices(primitive.at("indices").get<std::size_t>());
    } else {
      for (std::uint32_t i = 0; i < positions.size() / 12; ++i) indices.push_back(i);
    }
    std::vector<Position> corners;
    for (std::uint32_t index : indices) {
      if (index >= positions.size() / 12) {
        ADD_FAILURE() << "index " << index << " past the positions";
        return;
      }
      float xyz[3];
      std::memcpy(xyz, positions.data() + 12 * index, sizeof xyz);
      corners.push_back(PositionOf(xyz[0], xyz[1], xyz[2]));
    }
    const int mode = primitive.value("mode", kTriangles);
    if (mode == kPoints) {
      object.positions.insert(corners.begin(), corners.end());
    } else if (mode == kTriangles) {
      for (std::size_t i = 0; i + 3 <= corners.size(); i += 3)
        object.AddFace({corners[i], corners[i + 1], corners[i + 2]});
    } else {
      ADD_FAILURE() << "the reference does not read primitives of mode " << mode;
    }
  }

  std::vector<std::uint32_t> Indices(std::size_t accessor) {
    const int type = document_.at("accessors").at(accessor).at("componentType").get<int>();
    const std::size_t size = type == 5121 ? 1 : type == 5123 ? 2 : 4;  // unsigned byte, short, int
    const std::string bytes = AccessorBytes(accessor, size);
    std::vector<std::uint32_t> indices;
    for (std::size_t at = 0; at + size <= bytes.size(); at += size) {
      std::uint32_t index = 0;
      std::memcpy(&index, bytes.data() + at, size);  // little-endian, as glTF and this machine are
      indices.push_back(index);
    }
    return indices;
  }

  // The accessor's elements of `size` bytes, packed.
  std::string AccessorBytes(std::size_t index, std::size_t size) {
    const Json& accessor = document_.at("accessors").at(index);
    const Json& view = document_.at("bufferViews").at(accessor.at("bufferView").get<std::size_t>());
    const std::string& buffer = Buffer(view.at("buffer").get<std::size_t>());
    const std::size_t start = view.value("byteOffset", std::size_t{0}) + accessor.value("byteOffset", std::size_t{0});
    const std::size_t stride = view.value("byteStride", size);
    std::string bytes;
    for (std::size_t i = 0; i < accessor.at("count").get<std::size_t>(); ++i)
      bytes += buffer.substr(start + i * stride, size);
    return bytes;
  }

  const std::string& Buffer(std::size_t index) {
    if (buffers_.size() <= index) buffers_.resize(index + 1);
    if (buffers_[index].empty()) {
      std::ifstream in(folder_ / document_.at("buffers").at(index).at("uri").get<std::string>(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      buffers_[index] = bytes.str();
      EXPECT_FALSE(buffers_[index].empty()) << "buffer " << index << " is not a file beside the glTF";
    }
    return buffers_[index];
  }

  std::filesystem::path folder_;
  Json document_;
  std::vector<std::string> buffers_;
};

}  // namespace

ReferenceObject GltfReference(const std::string& file) {
  return GltfFile(file).Top(std::filesystem::path(file).filename().string());
}

}  // namespace scene_input_test
