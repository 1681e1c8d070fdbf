// Meshes large enough that the reader splits them between two threads, skips
// positions it has just seen and counts the rest by partitions (node_geometry.cpp):
// the counts and the faults must be those of a reader that goes face by face.
#include <array>
#include <cstdint>
#include <cstring>

#include "scene_input_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;

namespace scene_input_test {
namespace {

// A binary PLY of positions and faces (a face may have any number of corners,
// and corners past the positions).
struct Ply {
  std::vector<std::array<float, 3>> positions;
  std::vector<std::vector<std::int32_t>> faces;
  bool withFaces = true;

  std::string Bytes() const {
    std::string bytes = "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(positions.size()) +
                        "\nproperty float x\nproperty float y\nproperty float z\n";
    if (withFaces)
      bytes += "element face " + std::to_string(faces.size()) + "\nproperty list uchar int vertex_indices\n";
    bytes += "end_header\n";
    auto put = [&bytes](const void* data, std::size_t size) { bytes.append(static_cast<const char*>(data), size); };
    for (const auto& p : positions) put(p.data(), sizeof p);
    for (const auto& face : faces) {
      const auto corners = static_cast<std::uint8_t>(face.size());
      put(&corners, 1);
      put(face.data(), face.size() * sizeof(std::int32_t));
    }
    return bytes;
  }
};

// A grid of `columns` x `rows` quads: the index of the corner at (x, y).
std::int32_t Corner(int columns, int x, int y) { return y * (columns + 1) + x; }

class LargeMeshTest : public SceneInputTest {
 protected:
  const SceneObject& LoadPly(const Ply& ply) {
    testhost::Document* document = Load(Write("mesh.ply", ply.Bytes()));
    return *document->firstRoot;
  }
  std::string PlyError(const Ply& ply) { return LoadError(Write("bad.ply", ply.Bytes())).what(); }
};

// 75 000 quads over 75 551 positions, stored twice (the second copy with -0 where
// the first has +0), faces taking their corners from either copy in turn; every
// hundredth face a pentagon through a position of its own; and positions no face
// uses. Each position counts once, wherever its copies lie.
TEST_F(LargeMeshTest, PositionsCountOnceWhereverTheirCopiesLie) {
  constexpr int kColumns = 300, kRows = 250;
  constexpr std::int32_t kGrid = (kColumns + 1) * (kRows + 1);
  Ply ply;
  for (int copy = 0; copy < 2; ++copy)
    for (int y = 0; y <= kRows; ++y)
      for (int x = 0; x <= kColumns; ++x)
        ply.positions.push_back({static_cast<float>(x), static_cast<float>(y), copy == 0 ? 0.0f : -0.0f});
  int pentagons = 0;
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kColumns; ++x) {
      const std::int32_t base = ply.faces.size() % 2 == 0 ? 0 : kGrid;
      std::vector<std::int32_t> face = {base + Corner(kColumns, x, y), base + Corner(kColumns, x + 1, y),
                                        base + Corner(kColumns, x + 1, y + 1), base + Corner(kColumns, x, y + 1)};
      if (ply.faces.size() % 100 == 0) {
        face.push_back(static_cast<std::int32_t>(ply.positions.size()));
        ply.positions.push_back({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, 1.0f});
        ++pentagons;
      }
      ply.faces.push_back(face);
    }
  for (int i = 0; i < 1000; ++i) ply.positions.push_back({static_cast<float>(i), 0.0f, 5.0f});  // unused

  const SceneObject& mesh = LoadPly(ply);
  EXPECT_EQ(mesh.kind, ObjectKind::Polygon);
  EXPECT_EQ(mesh.polygons, kColumns * kRows);
  EXPECT_EQ(mesh.ngons, pentagons);
  EXPECT_EQ(mesh.points, kGrid + pentagons);
}

// A point cloud of 100 000 vertices over 40 000 positions, the repeats far apart
// and some of them with -0.
TEST_F(LargeMeshTest, PointCloudCountsEachPositionOnce) {
  Ply ply;
  ply.withFaces = false;
  for (int i = 0; i < 100000; ++i)
    ply.positions.push_back({static_cast<float>(i % 40000), i >= 50000 ? -0.0f : 0.0f, 2.0f});
  const SceneObject& cloud = LoadPly(ply);
  EXPECT_EQ(cloud.kind, ObjectKind::Point);
  EXPECT_EQ(cloud.polygons, 0);
  EXPECT_EQ(cloud.points, 40000);
}

// 80 000 triangles, read in two halves: the fault named is the first in the file,
// whichever half holds it.
TEST_F(LargeMeshTest, FirstBadFaceIsNamedWhicheverHalfHoldsIt) {
  Ply ply;
  for (int i = 0; i < 1000; ++i) ply.positions.push_back({static_cast<float>(i), 1.0f, 0.0f});
  for (std::int32_t i = 0; i < 80000; ++i) ply.faces.push_back({i % 998, i % 998 + 1, i % 998 + 2});

  Ply late = ply;
  late.faces[70000][1] = 5000;
  EXPECT_NE(PlyError(late).find("face 70000 uses vertex 5000 of 1000"), std::string::npos) << PlyError(late);

  Ply both = late;
  both.faces[30000][2] = 1000;
  EXPECT_NE(PlyError(both).find("face 30000 uses vertex 1000 of 1000"), std::string::npos) << PlyError(both);

  Ply empty = late;
  empty.faces[50000].clear();
  EXPECT_NE(PlyError(empty).find("face 50000 has no corners"), std::string::npos) << PlyError(empty);
}

// One object whose faces use two materials: a mesh of 19 000 quads and one of
// 1 000 sharing a row of positions, counted as one set of positions.
TEST_F(LargeMeshTest, MeshesOfOneNodeShareTheirPositions) {
  constexpr int kColumns = 200, kRows = 100, kRedRows = 95;
  Write("panel.mtl", "newmtl Red\nKd 1 0 0\nnewmtl Blue\nKd 0 0 1\n");
  std::string obj = "mtllib panel.mtl\no Panel\n";
  for (int y = 0; y <= kRows; ++y)
    for (int x = 0; x <= kColumns; ++x) obj += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
  for (int y = 0; y < kRows; ++y) {
    if (y == 0) obj += "usemtl Red\n";
    if (y == kRedRows) obj += "usemtl Blue\n";
    for (int x = 0; x < kColumns; ++x)  // OBJ counts from 1
      obj += "f " + std::to_string(Corner(kColumns, x, y) + 1) + " " + std::to_string(Corner(kColumns, x + 1, y) + 1) +
             " " + std::to_string(Corner(kColumns, x + 1, y + 1) + 1) + " " +
             std::to_string(Corner(kColumns, x, y + 1) + 1) + "\n";
  }
  testhost::Document* document = Load(Write("panel.obj", obj));
  const SceneObject* panel = testhost::input::FindByPath(document, "panel.obj/Panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->polygons, kColumns * kRows);
  EXPECT_EQ(panel->points, (kColumns + 1) * (kRows + 1));
}

}  // namespace
}  // namespace scene_input_test
