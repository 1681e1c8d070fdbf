// 3D files: how a file's nodes and meshes become objects, and how faces and
// vertices are counted (n-gons kept, points merged by position, nodes of points or
// lines as point objects). The small files in testhost/import/testdata say in
// their comments what they hold.
#include <algorithm>
#include <filesystem>

#include "scene_input_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;
using testhost::input::FindByPath;
using testhost::input::PathOf;

namespace scene_input_test {
namespace {

class ImportTest : public SceneInputTest {
 protected:
  testhost::Document* LoadData(const std::string& name) { return Load(STATLUME_IMPORT_DATA_DIR "/" + name); }
};

TEST_F(ImportTest, FileBecomesOneActiveTopLevelObjectNamedAfterIt) {
  testhost::Document* document = LoadData("shapes.obj");
  EXPECT_EQ(scene().ActiveDocument(), document);
  ASSERT_NE(document->firstRoot, nullptr);
  EXPECT_EQ(document->firstRoot, document->lastRoot);
  EXPECT_EQ(document->firstRoot->name, "shapes.obj");
  EXPECT_EQ(document->active, document->firstRoot);
  EXPECT_EQ(document->firstRoot->kind, ObjectKind::Null);
}

TEST_F(ImportTest, NgonsAreKeptAndPointsArePositions) {
  testhost::Document* document = LoadData("shapes.obj");
  const SceneObject* shapes = FindByPath(document, "shapes.obj/Shapes");
  ASSERT_NE(shapes, nullptr);
  EXPECT_EQ(shapes->kind, ObjectKind::Polygon);
  EXPECT_EQ(shapes->polygons, 4) << "a triangle, a quad, a pentagon and a hexagon, not triangulated";
  EXPECT_EQ(shapes->ngons, 2) << "faces of five and six corners";
  EXPECT_EQ(shapes->points, 6) << "18 corner vertices over 6 positions";
}

TEST_F(ImportTest, PositionsMergeExactlyWithSignedZeroAlike) {
  testhost::Document* document = Load(Write("zeros.obj",
                                            "v 0 0 0\nv -0 -0 0\nv 1 0 0\nv 0 1 0\nv 0.0000001 1 0\n"
                                            "f 1 3 4\nf 2 3 4\nf 2 3 5\n"));
  const SceneObject* mesh = document->firstRoot;  // faces outside any group: the file's own
  EXPECT_EQ(mesh->polygons, 3);
  EXPECT_EQ(mesh->points, 4) << "-0 is +0; a position off by 1e-7 is another point";
}

TEST_F(ImportTest, PointAndLineMeshesBecomePointObjects) {
  testhost::Document* document = LoadData("shapes.obj");
  const SceneObject* cloud = FindByPath(document, "shapes.obj/Cloud");
  const SceneObject* wire = FindByPath(document, "shapes.obj/Wire");
  ASSERT_NE(cloud, nullptr);
  ASSERT_NE(wire, nullptr);
  EXPECT_EQ(cloud->kind, ObjectKind::Point);
  EXPECT_EQ(cloud->points, 3);
  EXPECT_EQ(wire->kind, ObjectKind::Point);
  EXPECT_EQ(wire->points, 3) << "two segments, four vertices, three positions";
  EXPECT_EQ(wire->polygons, 0);
  const Totals totals = TotalsOf(document->firstRoot);
  EXPECT_EQ(totals.objects, 4);
  EXPECT_EQ(totals.polygons, 4);
  EXPECT_EQ(totals.points, 12);
}

TEST_F(ImportTest, NodeWithSeveralMeshesIsOneObject) {
  testhost::Document* document = LoadData("two_materials.obj");
  const SceneObject* panel = FindByPath(document, "two_materials.obj/Panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->kind, ObjectKind::Polygon);
  EXPECT_EQ(panel->firstChild, nullptr) << "the importer's mesh per material is no object";
  EXPECT_EQ(panel->polygons, 2);
  EXPECT_EQ(panel->points, 6) << "the positions of the shared edge count once";
  EXPECT_EQ(TotalsOf(document->firstRoot).objects, 2);
}

TEST_F(ImportTest, HierarchySharedMeshesCamerasAndEmptyNodes) {
  testhost::Document* document = LoadData("rig.gltf");
  const SceneObject* top = document->firstRoot;
  EXPECT_EQ(top->name, "rig.gltf") << "the root node takes the file's name";
  std::vector<std::string> children;
  for (const SceneObject* child = top->firstChild; child != nullptr; child = child->next)
    children.push_back(child->name);
  EXPECT_EQ(children, (std::vector<std::string>{"Left", "Right", "Eye", "Empty"}));
  for (const char* path : {"rig.gltf/Left", "rig.gltf/Right"}) {
    const SceneObject* square = FindByPath(document, path);
    EXPECT_EQ(square->kind, ObjectKind::Polygon) << path;
    EXPECT_EQ(square->polygons, 2) << path;
    EXPECT_EQ(square->points, 4) << path;
  }
  EXPECT_EQ(FindByPath(document, "rig.gltf/Eye")->kind, ObjectKind::Camera);
  EXPECT_EQ(FindByPath(document, "rig.gltf/Empty")->kind, ObjectKind::Null);
  EXPECT_EQ(TotalsOf(top).polygons, 4) << "a mesh used by two nodes counts twice";
}

TEST_F(ImportTest, ExtensionsInAnyCase) {
  const std::string file = Write("SHAPES.OBJ", ReadText(STATLUME_IMPORT_DATA_DIR "/shapes.obj"));
  testhost::Document* document = Load(file);
  EXPECT_EQ(document->firstRoot->name, "SHAPES.OBJ");
  EXPECT_EQ(TotalsOf(document->firstRoot).polygons, 4);
}

TEST_F(ImportTest, ImportedExtensionsNameTheFormatsWeRead) {
  const std::vector<std::string> extensions = testhost::input::ImportedExtensions();
  for (const char* wanted : {".obj", ".gltf", ".glb", ".ply", ".stl", ".fbx", ".dae", ".3ds"})
    EXPECT_NE(std::find(extensions.begin(), extensions.end(), wanted), extensions.end()) << wanted;
  for (const std::string& extension : extensions) {
    EXPECT_EQ(extension.rfind('.', 0), 0u) << extension;
    EXPECT_FALSE(std::any_of(extension.begin(), extension.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
        << extension;
  }
  EXPECT_EQ(std::find(extensions.begin(), extensions.end(), ".json"), extensions.end());
}

}  // namespace
}  // namespace scene_input_test
