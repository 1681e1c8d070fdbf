#include "grid_files.h"

#include <charconv>
#include <cstring>
#include <fstream>
#include <vector>

namespace bench {

namespace {

// Corner indices of the quad at (x, y), counter-clockwise, 0-based.
struct Quad {
  std::uint32_t a, b, c, d;
};
Quad QuadAt(const Grid& grid, int x, int y) {
  const auto stride = static_cast<std::uint32_t>(grid.columns + 1);
  const auto a = static_cast<std::uint32_t>(y) * stride + static_cast<std::uint32_t>(x);
  return {a, a + 1, a + stride + 1, a + stride};
}

// Text written in large pieces: a stream's per-number formatting would make the
// writing take longer than the reading being measured.
class TextOut {
 public:
  explicit TextOut(const std::string& file) : out_(file, std::ios::binary) { text_.reserve(kFlushAt + 256); }
  ~TextOut() { Flush(); }
  TextOut& operator<<(const char* text) {
    text_ += text;
    return *this;
  }
  TextOut& operator<<(std::uint64_t number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text_.append(digits, end);
    if (text_.size() >= kFlushAt) Flush();
    return *this;
  }
  bool Ok() {
    Flush();
    return static_cast<bool>(out_);
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  void Flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }
  std::ofstream out_;
  std::string text_;
};

template <typename T>
void Put(std::vector<char>& bytes, const T& value) {
  const auto* raw = reinterpret_cast<const char*>(&value);
  bytes.insert(bytes.end(), raw, raw + sizeof value);
}

// The grid's positions as little-endian floats, one row at a time.
void WritePositions(const Grid& grid, std::ofstream& out, std::vector<char>& bytes) {
  for (int y = 0; y <= grid.rows; ++y) {
    bytes.clear();
    for (int x = 0; x <= grid.columns; ++x) {
      const float position[3] = {static_cast<float>(x), static_cast<float>(y), 0.0f};
      Put(bytes, position);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}

}  // namespace

bool WriteObj(const Grid& grid, const std::string& file) {
  TextOut out(file);
  out << "# grid of " << static_cast<std::uint64_t>(grid.Quads()) << " quads\n";
  for (int y = 0; y <= grid.rows; ++y)
    for (int x = 0; x <= grid.columns; ++x)
      out << "v " << static_cast<std::uint64_t>(x) << " " << static_cast<std::uint64_t>(y) << " 0\n";
  for (int y = 0; y < grid.rows; ++y)
    for (int x = 0; x < grid.columns; ++x) {
      const Quad q = QuadAt(grid, x, y);  // OBJ counts from 1
      out << "f " << q.a + 1ull << " " << q.b + 1ull << " " << q.c + 1ull << " " << q.d + 1ull << "\n";
    }
  return out.Ok();
}

bool WritePly(const Grid& grid, const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << "ply\nformat binary_little_endian 1.0\nelement vertex " << grid.Positions()
      << "\nproperty float x\nproperty float y\nproperty float z\nelement face " << grid.Quads()
      << "\nproperty list uchar int vertex_indices\nend_header\n";
  std::vector<char> bytes;
  WritePositions(grid, out, bytes);
  for (int y = 0; y < grid.rows; ++y) {
    bytes.clear();
    for (int x = 0; x < grid.columns; ++x) {
      const Quad q = QuadAt(grid, x, y);
      const unsigned char corners = 4;
      const std::int32_t indices[4] = {static_cast<std::int32_t>(q.a), static_cast<std::int32_t>(q.b),
                                       static_cast<std::int32_t>(q.c), static_cast<std::int32_t>(q.d)};
      Put(bytes, corners);
      Put(bytes, indices);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return static_cast<bool>(out);
}

bool WriteGlb(const Grid& grid, const std::string& file) {
  const std::uint64_t positionBytes = static_cast<std::uint64_t>(grid.Positions()) * 12;
  const std::uint64_t indexCount = static_cast<std::uint64_t>(grid.Quads()) * 6;
  const std::uint64_t indexBytes = indexCount * 4;
  const std::uint64_t binaryBytes = positionBytes + indexBytes;
  std::string json = std::string("{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],") +
                     "\"nodes\":[{\"mesh\":0,\"name\":\"grid\"}]," +
                     "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0},\"indices\":1,\"mode\":4}]}]," +
                     "\"buffers\":[{\"byteLength\":" + std::to_string(binaryBytes) + "}]," +
                     "\"bufferViews\":[{\"buffer\":0,\"byteOffset\":0,\"byteLength\":" +
                     std::to_string(positionBytes) + ",\"target\":34962},{\"buffer\":0,\"byteOffset\":" +
                     std::to_string(positionBytes) + ",\"byteLength\":" + std::to_string(indexBytes) +
                     ",\"target\":34963}],\"accessors\":[{\"bufferView\":0,\"componentType\":5126,\"count\":" +
                     std::to_string(grid.Positions()) + ",\"type\":\"VEC3\",\"min\":[0,0,0],\"max\":[" +
                     std::to_string(grid.columns) + "," + std::to_string(grid.rows) +
                     ",0]},{\"bufferView\":1,\"componentType\":5125,\"count\":" + std::to_string(indexCount) +
                     ",\"type\":\"SCALAR\"}]}";
  while (json.size() % 4 != 0) json += ' ';  // chunks are 4-byte aligned
  const auto jsonBytes = static_cast<std::uint32_t>(json.size());
  const auto total = static_cast<std::uint32_t>(12 + 8 + jsonBytes + 8 + binaryBytes);

  std::ofstream out(file, std::ios::binary);
  std::vector<char> bytes;
  bytes.insert(bytes.end(), {'g', 'l', 'T', 'F'});
  Put(bytes, std::uint32_t{2});
  Put(bytes, total);
  Put(bytes, jsonBytes);
  bytes.insert(bytes.end(), {'J', 'S', 'O', 'N'});
  bytes.insert(bytes.end(), json.begin(), json.end());
  Put(bytes, static_cast<std::uint32_t>(binaryBytes));
  bytes.insert(bytes.end(), {'B', 'I', 'N', '\0'});
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  WritePositions(grid, out, bytes);
  for (int y = 0; y < grid.rows; ++y) {
    bytes.clear();
    for (int x = 0; x < grid.columns; ++x) {
      const Quad q = QuadAt(grid, x, y);
      const std::uint32_t triangles[6] = {q.a, q.b, q.c, q.a, q.c, q.d};
      Put(bytes, triangles);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return static_cast<bool>(out);
}

}  // namespace bench
