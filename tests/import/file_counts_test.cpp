// The counts a modeller expects of a 3D file: its nodes (or groups, or solids) are
// the objects, each holding its own geometry however many meshes the importer
// split it into, and its points are the positions its faces and points use.
// Checked against the file's own lists (reference_counts.h), and for the plainest
// files against the numbers a modeller would give.
#include "reference_counts.h"
#include "scene_input_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;
using testhost::input::FindByPath;

namespace scene_input_test {
namespace {

std::string Data(const std::string& name) { return STATLUME_IMPORT_DATA_DIR "/" + name; }

struct ReferenceCase {
  const char* file;
  ReferenceObject (*reference)(const std::string& file);
};

void PrintTo(const ReferenceCase& test, std::ostream* out) { *out << test.file; }

class FileCountsTest : public SceneInputTest, public testing::WithParamInterface<ReferenceCase> {};

TEST_P(FileCountsTest, SceneMatchesTheFilesOwnLists) {
  const std::string file = Data(GetParam().file);
  const ReferenceObject expected = GetParam().reference(file);
  testhost::Document* document = Load(file);
  EXPECT_TRUE(SameHierarchy(document->firstRoot, expected));
  EXPECT_EQ(document->firstRoot->next, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileCountsTest,
    testing::Values(ReferenceCase{"four_materials.obj", ObjReference},  // one object in four materials
                    ReferenceCase{"two_materials.obj", ObjReference},   // two materials sharing an edge
                    ReferenceCase{"groups.obj", ObjReference},  // geometry outside groups, groups of one name
                    ReferenceCase{"solid.stl", StlReference},   // one solid, corners repeated per facet
                    ReferenceCase{"shared_positions.gltf", GltfReference},  // primitives on one array, instancing
                    ReferenceCase{"single_node.gltf", GltfReference}),      // the root node holds the geometry
    [](const testing::TestParamInfo<ReferenceCase>& test) {
      std::string name = test.param.file;
      for (char& c : name)
        if (c == '.') c = '_';
      return name;
    });

// The same files by the numbers, so that a reference sharing a mistake with the
// reader does not hide it.
TEST_F(FileCountsTest, WhatAModellerCounts) {
  struct Expected {
    const char* path;
    ObjectKind kind;
    int points, polygons, objects;  // objects: the object and those below it
  };
  const Expected kExpected[] = {
      {"four_materials.obj", ObjectKind::Null, 0, 0, 2},
      {"four_materials.obj/Cube", ObjectKind::Polygon, 8, 6, 1},  // two positions no face uses
      {"solid.stl", ObjectKind::Polygon, 5, 6, 1},
      {"single_node.gltf", ObjectKind::Polygon, 6, 5, 1},
      {"shared_positions.gltf/Frame/Body", ObjectKind::Polygon, 6, 5, 1},  // 10 entries: 1 repeated, 2 unused
      {"shared_positions.gltf/Frame/Copy", ObjectKind::Polygon, 6, 5, 1},  // the same mesh again
      {"shared_positions.gltf/Dots", ObjectKind::Point, 2, 0, 1},
      {"shared_positions.gltf", ObjectKind::Null, 0, 0, 5},
      {"groups.obj", ObjectKind::Polygon, 4, 1, 7},  // the quad before the first group
  };
  std::set<std::string> loaded;
  testhost::Document* document = nullptr;
  for (const Expected& expected : kExpected) {
    const std::string file = std::string(expected.path).substr(0, std::string(expected.path).find('/'));
    if (loaded.insert(file).second) document = Load(Data(file));
    const SceneObject* object = FindByPath(document, expected.path);
    ASSERT_NE(object, nullptr) << expected.path;
    EXPECT_EQ(object->kind, expected.kind) << expected.path;
    EXPECT_EQ(object->points, expected.points) << expected.path;
    EXPECT_EQ(object->polygons, expected.polygons) << expected.path;
    EXPECT_EQ(TotalsOf(object).objects, expected.objects) << expected.path;
  }
}

// Solids of an STL with several stay objects of their own; an OBJ without groups
// is one object.
TEST_F(FileCountsTest, OnlyTheImportersOwnWrappingIsUndone) {
  const std::string solid = ReadText(Data("solid.stl"));
  const std::string twoSolids = Write("two.stl", solid + "\n" + solid.substr(0, solid.find("facet")) +
                                                     "facet normal 0 0 1\nouter loop\nvertex 0 0 5\nvertex 1 0 5\n"
                                                     "vertex 0 1 5\nendloop\nendfacet\nendsolid pyramid\n");
  testhost::Document* document = Load(twoSolids);
  EXPECT_TRUE(SameHierarchy(document->firstRoot, StlReference(twoSolids)));
  EXPECT_EQ(TotalsOf(document->firstRoot).objects, 3);

  const std::string plain = Write("plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\nf 2 4 3\n");
  document = Load(plain);
  EXPECT_TRUE(SameHierarchy(document->firstRoot, ObjReference(plain)));
  EXPECT_EQ(document->firstRoot->points, 4);
  EXPECT_EQ(TotalsOf(document->firstRoot).objects, 1);
}

}  // namespace
}  // namespace scene_input_test
