// Scene access through the host's entries, against the test host's scene.
#include "host_scene.h"
#include "runtime_fixture.h"

using testhost::ObjectKind;

namespace {
BaseObject* Obj(testhost::SceneObject* object) { return reinterpret_cast<BaseObject*>(object); }
}  // namespace

class SceneTest : public BoundRuntimeTest {
 protected:
  void SetUp() override {
    BoundRuntimeTest::SetUp();
    document = scene().NewDocument();
  }
  testhost::Document* document = nullptr;
};

TEST_F(SceneTest, ActiveDocumentAndObject) {
  testhost::SceneObject* object = scene().AddPolygonObject(document, 8, 6);
  EXPECT_EQ(ActiveObject(ActiveDocument()), nullptr);
  scene().SetActive(document, object);
  EXPECT_EQ(ActiveDocument(), reinterpret_cast<BaseDocument*>(document));
  EXPECT_EQ(ActiveObject(ActiveDocument()), Obj(object));
}

TEST_F(SceneTest, CountsTypesAndFlags) {
  testhost::SceneObject* mesh = scene().AddPolygonObject(document, 8, 6, 1);
  testhost::SceneObject* cloud = scene().AddPointObject(document, 5);
  testhost::SceneObject* group = scene().Add(document, ObjectKind::Null);
  EXPECT_EQ(TagElementCount(Obj(mesh), kTagPolygons), 6);
  EXPECT_EQ(TagElementCount(Obj(mesh), kTagPoints), 8);
  EXPECT_EQ(NgonCount(Obj(mesh)), 1);
  EXPECT_EQ(TagElementCount(Obj(cloud), kTagPolygons), 0);
  EXPECT_EQ(TagElementCount(Obj(group), kTagPoints), 0);
  EXPECT_TRUE(IsInstanceOfType(Obj(mesh), kTypePolygonObject));
  EXPECT_TRUE(IsInstanceOfType(Obj(cloud), kTypePointObject));
  EXPECT_FALSE(IsInstanceOfType(Obj(group), kTypePointObject));
  EXPECT_EQ(ObjectInfoFlags(Obj(mesh)) & kInfoGeometry, kInfoGeometry);
  EXPECT_EQ(ObjectInfoFlags(Obj(group)) & kInfoGeometry, 0);
}

TEST_F(SceneTest, HierarchyNavigation) {
  testhost::SceneObject* lone = scene().Add(document, ObjectKind::Null);
  EXPECT_EQ(FirstChild(Obj(lone)), nullptr);
  EXPECT_EQ(NextSibling(Obj(lone)), nullptr);
  EXPECT_EQ(ParentOf(Obj(lone)), nullptr);
  testhost::SceneObject* parent = scene().Add(document, ObjectKind::Null);
  testhost::SceneObject* first = scene().AddPolygonObject(document, 4, 1, 0, parent);
  testhost::SceneObject* second = scene().AddPolygonObject(document, 4, 1, 0, parent);
  EXPECT_EQ(FirstChild(Obj(parent)), Obj(first));
  EXPECT_EQ(NextSibling(Obj(first)), Obj(second));
  EXPECT_EQ(ParentOf(Obj(second)), Obj(parent));
  EXPECT_EQ(NextSibling(Obj(lone)), Obj(parent));
}

TEST_F(SceneTest, CommandsReturnCopiesTheCallerFrees) {
  testhost::SceneObject* cube = scene().AddGenerator(document, ObjectKind::Cube, 1);
  scene().AddGenerator(document, ObjectKind::Sphere, 8, cube);
  ModelingCommandRecord record{};
  record.document = reinterpret_cast<BaseDocument*>(document);
  record.object = Obj(cube);
  ASSERT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  BaseObject* editable = ResultListAt(record.result, 0);
  ASSERT_NE(editable, nullptr);
  EXPECT_EQ(ResultListAt(record.result, 1), nullptr);
  EXPECT_EQ(TagElementCount(Obj(cube), kTagPolygons), 0);  // the generator itself holds nothing
  EXPECT_EQ(TagElementCount(editable, kTagPolygons), 6);
  EXPECT_EQ(TagElementCount(editable, kTagPoints), 8);
  EXPECT_TRUE(IsInstanceOfType(editable, kTypePolygonObject));
  BaseObject* sphere = FirstChild(editable);
  ASSERT_NE(sphere, nullptr);
  EXPECT_EQ(TagElementCount(sphere, kTagPolygons), 32);  // 8 around, 4 rings
  EXPECT_EQ(TagElementCount(sphere, kTagPoints), 26);

  ModelingCommandRecord join{};
  join.document = record.document;
  join.object = editable;
  ASSERT_TRUE(RunModelingCommand(kCommandJoin, &join));
  BaseObject* joined = ResultListAt(join.result, 0);
  EXPECT_EQ(TagElementCount(joined, kTagPolygons), 38);
  EXPECT_EQ(TagElementCount(joined, kTagPoints), 34);
  EXPECT_EQ(FirstChild(joined), nullptr);

  EXPECT_EQ(scene().OutstandingCopies(), 2u);
  FreeObject(joined);
  FreeObject(editable);  // with its children
  FreeResultList(&record.result);
  FreeResultList(&join.result);
  EXPECT_EQ(record.result, nullptr);
  EXPECT_EQ(scene().OutstandingCopies(), 0u);
  EXPECT_EQ(scene().LiveResultLists(), 0u);
  EXPECT_TRUE(host().Failures().empty());
}

TEST_F(SceneTest, UnfilledRecordReleasesNothing) {
  ModelingCommandRecord record{};
  FreeResultList(&record.result);
  EXPECT_EQ(record.result, nullptr);
  EXPECT_TRUE(host().Failures().empty());
}

TEST_F(SceneTest, FailingAndEmptyCommands) {
  testhost::SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  ModelingCommandRecord record{};
  record.object = Obj(mesh);
  scene().FailCommand(kCommandMakeEditable);
  EXPECT_FALSE(RunModelingCommand(kCommandMakeEditable, &record));
  EXPECT_EQ(record.result, nullptr);
  scene().EmptyResult(kCommandJoin);
  EXPECT_TRUE(RunModelingCommand(kCommandJoin, &record));
  EXPECT_EQ(ResultListAt(record.result, 0), nullptr);
  FreeResultList(&record.result);
}

TEST_F(SceneTest, HostCatchesWrongFrees) {
  testhost::SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  FreeObject(Obj(mesh));
  ModelingCommandRecord record{};
  record.object = Obj(mesh);
  RunModelingCommand(kCommandMakeEditable, &record);
  BaseObject* copy = ResultListAt(record.result, 0);
  FreeObject(copy);
  FreeObject(copy);
  FreeResultList(&record.result);
  ASSERT_EQ(host().Failures().size(), 2u);
  EXPECT_EQ(host().Failures()[0], "the plug-in freed an object that belongs to a document");
  EXPECT_EQ(host().Failures()[1], "the plug-in freed an object twice");
  host().ClearFailures();
}

TEST(Generators, CountsOfTheParametricPrimitives) {
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, 2).points, 26);
  EXPECT_EQ(testhost::Generate(ObjectKind::Cube, 2).polygons, 24);
  EXPECT_EQ(testhost::Generate(ObjectKind::Plane, 3).points, 16);
  EXPECT_EQ(testhost::Generate(ObjectKind::Sphere, 24).polygons, 288);
  EXPECT_EQ(testhost::Generate(ObjectKind::Sphere, 24).points, 266);
}
