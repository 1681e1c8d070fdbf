// Scene access (host_scene.h) through the host's document, object, node and list
// entries (t_HostOS_Bd, Bo, At, Bl) and its modeling commands, against the test
// host's scene: what the host answers, and what it refuses (each refusal names the
// entry and the argument).
#include <cstring>

#include "host_scene.h"
#include "runtime_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;

namespace {
BaseObject* Obj(SceneObject* object) { return reinterpret_cast<BaseObject*>(object); }
BaseDocument* Doc(testhost::Document* document) { return reinterpret_cast<BaseDocument*>(document); }
}  // namespace

class SceneTest : public BoundRuntimeTest {
 protected:
  void SetUp() override {
    BoundRuntimeTest::SetUp();
    document = scene().NewDocument();
  }
  ModelingCommandRecord RecordFor(BaseObject* object) {
    ModelingCommandRecord record{};
    record.document = Doc(document);
    record.object = object;
    return record;
  }
  // Runs a command on a fresh record and takes its first result out.
  BaseObject* FirstResult(std::int32_t command, BaseObject* object) {
    ModelingCommandRecord record = RecordFor(object);
    BaseObject* result = RunModelingCommand(command, &record) ? ResultListAt(record.result, 0) : nullptr;
    FreeResultList(&record.result);
    return result;
  }

  testhost::Document* document = nullptr;
};

TEST_F(SceneTest, ActiveDocumentAndObject) {
  SceneObject* object = scene().AddPolygonObject(document, 8, 6);
  EXPECT_EQ(ActiveObject(ActiveDocument()), nullptr);
  scene().SetActive(document, object);
  EXPECT_EQ(ActiveDocument(), Doc(document));
  EXPECT_EQ(ActiveObject(ActiveDocument()), Obj(object));

  // Only a document of the host's is asked for its active object.
  EXPECT_EQ(ActiveObject(nullptr), nullptr);
  EXPECT_EQ(ActiveObject(reinterpret_cast<BaseDocument*>(object)), nullptr);
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          "t_HostOS_Bd offset 96 (ActiveObject): argument 'document' must not be null",
                          "t_HostOS_Bd offset 96 (ActiveObject): argument 'document' must be a document of the host"}));
}

TEST_F(SceneTest, CountsTypesAndFlags) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6, 1);
  SceneObject* cloud = scene().AddPointObject(document, 5);
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  EXPECT_EQ(TagElementCount(Obj(mesh), kTagPolygons), 6);
  EXPECT_EQ(TagElementCount(Obj(mesh), kTagPoints), 8);
  EXPECT_EQ(NgonCount(Obj(mesh)), 1);
  EXPECT_EQ(TagElementCount(Obj(cloud), kTagPolygons), 0);
  EXPECT_EQ(TagElementCount(Obj(group), kTagPoints), 0);
  EXPECT_TRUE(IsInstanceOfType(Obj(mesh), kTypePolygonObject));
  EXPECT_TRUE(IsInstanceOfType(Obj(mesh), kTypePointObject));  // a polygon object is a point object too
  EXPECT_TRUE(IsInstanceOfType(Obj(cloud), kTypePointObject));
  EXPECT_FALSE(IsInstanceOfType(Obj(group), kTypePointObject));
  // Every object carries further information bits; only geometry has 0x80.
  EXPECT_EQ(ObjectInfoFlags(Obj(mesh)) & kInfoGeometry, kInfoGeometry);
  EXPECT_NE(ObjectInfoFlags(Obj(group)), 0);
  EXPECT_EQ(ObjectInfoFlags(Obj(group)) & kInfoGeometry, 0);
  mesh->infoFlags &= ~kInfoGeometry;  // a polygon object without the bit
  EXPECT_EQ(ObjectInfoFlags(Obj(mesh)) & kInfoGeometry, 0);
  EXPECT_TRUE(IsInstanceOfType(Obj(mesh), kTypePolygonObject));

  // Only the two element types have counts.
  EXPECT_EQ(TagElementCount(Obj(mesh), 5601), 0);
  EXPECT_EQ(Faults(), std::vector<std::string>{"t_HostOS_Bo offset 312 (TagElementCount): argument 'type' must be "
                                               "5600 or 5604, was 5601"});
}

TEST_F(SceneTest, HierarchyNavigation) {
  SceneObject* lone = scene().Add(document, ObjectKind::Null);
  EXPECT_EQ(FirstChild(Obj(lone)), nullptr);
  EXPECT_EQ(NextSibling(Obj(lone)), nullptr);
  EXPECT_EQ(ParentOf(Obj(lone)), nullptr);
  SceneObject* parent = scene().Add(document, ObjectKind::Null);
  SceneObject* first = scene().AddPolygonObject(document, 4, 1, 0, parent);
  SceneObject* second = scene().AddPolygonObject(document, 4, 1, 0, parent);
  EXPECT_EQ(FirstChild(Obj(parent)), Obj(first));
  EXPECT_EQ(NextSibling(Obj(first)), Obj(second));
  EXPECT_EQ(ParentOf(Obj(second)), Obj(parent));
  EXPECT_EQ(NextSibling(Obj(lone)), Obj(parent));
}

TEST_F(SceneTest, ObjectArgumentsMustBeLive) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  BaseObject* copy = FirstResult(kCommandMakeEditable, Obj(mesh));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(NgonCount(copy), 0);  // a copy the caller holds is live
  FreeObject(copy);
  Faults();
  int unknown = 0;
  EXPECT_EQ(TagElementCount(copy, kTagPoints), 0);
  EXPECT_EQ(FirstChild(reinterpret_cast<BaseObject*>(&unknown)), nullptr);
  EXPECT_EQ(ObjectInfoFlags(nullptr), 0);
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0].rfind("t_HostOS_Bo offset 312 (TagElementCount): argument 'object' is editable copy #", 0), 0u)
      << faults[0];
  EXPECT_NE(faults[0].find(", freed already"), std::string::npos) << faults[0];
  EXPECT_EQ(faults[1], "t_HostOS_At offset 112 (FirstChild): argument 'node' is not an object the host knows");
  EXPECT_EQ(faults[2], "t_HostOS_Bo offset 336 (ObjectInfoFlags): argument 'object' must not be null");
}

TEST_F(SceneTest, CommandsReturnCopiesTheCallerFrees) {
  SceneObject* cube = scene().AddGenerator(document, ObjectKind::Cube, 1);
  scene().AddGenerator(document, ObjectKind::Sphere, 8, cube);
  ModelingCommandRecord record = RecordFor(Obj(cube));
  ASSERT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  BaseObject* editable = ResultListAt(record.result, 0);
  ASSERT_NE(editable, nullptr);
  EXPECT_EQ(TagElementCount(Obj(cube), kTagPolygons), 0);  // the generator itself holds nothing
  EXPECT_EQ(TagElementCount(editable, kTagPolygons), 6);
  EXPECT_EQ(TagElementCount(editable, kTagPoints), 8);
  EXPECT_TRUE(IsInstanceOfType(editable, kTypePolygonObject));
  BaseObject* sphere = FirstChild(editable);
  ASSERT_NE(sphere, nullptr);
  EXPECT_EQ(TagElementCount(sphere, kTagPolygons), 32);  // 8 around, 4 rings
  EXPECT_EQ(TagElementCount(sphere, kTagPoints), 26);

  ModelingCommandRecord join = RecordFor(editable);
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
}

TEST_F(SceneTest, JoinTakesTheGivenHierarchyAsItIs) {
  SceneObject* cube = scene().AddGenerator(document, ObjectKind::Cube, 2);
  scene().AddPolygonObject(document, 8, 6, 1, cube);
  scene().AddPolygonObject(document, 1000, 1000);  // a later sibling: never joined
  scene().SetResultNeighbours(true);                // nor the host's objects beside a result
  BaseObject* editable = FirstResult(kCommandMakeEditable, Obj(cube));
  ASSERT_NE(ParentOf(editable), nullptr);
  BaseObject* joined = FirstResult(kCommandJoin, editable);
  EXPECT_EQ(TagElementCount(joined, kTagPolygons), 30);
  EXPECT_EQ(TagElementCount(joined, kTagPoints), 34);
  EXPECT_EQ(NgonCount(joined), 1);
  EXPECT_TRUE(Faults().empty());

  // Given anything but the editable copy, the join takes it as it is: a generator
  // brings nothing of its own, only the polygon object below it.
  BaseObject* wrong = FirstResult(kCommandJoin, Obj(cube));
  EXPECT_EQ(TagElementCount(wrong, kTagPolygons), 6);
  EXPECT_EQ(Faults(), std::vector<std::string>{
                          "t_HostOS_Ge offset 616 (RunModelingCommand): argument 'record.object' must be the editable "
                          "copy the last command 245 gave, was an object of the scene"});
  FreeObject(wrong);
  FreeObject(joined);
  FreeObject(editable);
}

TEST_F(SceneTest, ModelingCommandRecordIsCheckedByteByByte) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  testhost::Document* other = scene().NewDocument();
  SceneObject* elsewhere = scene().AddPolygonObject(other, 8, 6);
  const std::string entry = "t_HostOS_Ge offset 616 (RunModelingCommand): argument ";

  ModelingCommandRecord record = RecordFor(Obj(mesh));
  record.document = nullptr;
  EXPECT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));  // the host still answers
  FreeObject(ResultListAt(record.result, 0));
  FreeResultList(&record.result);
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          entry + "'record.document' must be the active document",
                          entry + "'record.object' must be an object of the record's document, was an object of the "
                                  "scene"}));

  record = RecordFor(Obj(elsewhere));
  record.document = Doc(other);
  EXPECT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  FreeObject(ResultListAt(record.result, 0));
  FreeResultList(&record.result);
  EXPECT_EQ(Faults(), std::vector<std::string>{entry + "'record.document' must be the active document"});

  record = RecordFor(Obj(mesh));
  record.reserved[23] = 1;
  EXPECT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  BaseObject* editable = ResultListAt(record.result, 0);
  FreeResultList(&record.result);
  EXPECT_EQ(Faults(), std::vector<std::string>{entry + "'record.reserved' must be zero (bytes 16 to 39), byte 39 "
                                                        "is not"});

  // Command 245 takes an object of the document, never a copy; 246 only the copy.
  record = RecordFor(editable);
  EXPECT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  FreeObject(ResultListAt(record.result, 0));
  FreeResultList(&record.result);
  const std::vector<std::string> copied = Faults();
  ASSERT_EQ(copied.size(), 1u);
  EXPECT_EQ(copied[0].rfind(entry + "'record.object' must be an object of the record's document, was editable copy #",
                            0),
            0u)
      << copied[0];

  record = RecordFor(Obj(mesh));
  EXPECT_FALSE(RunModelingCommand(247, &record));
  record.result = reinterpret_cast<ResultList*>(&record);
  EXPECT_FALSE(RunModelingCommand(kCommandJoin, &record));
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          entry + "'command' must be 245 or 246, was 247",
                          entry + "'record.result' must be null or a result list the host put there",
                          entry + "'record.object' must be the editable copy the last command 245 gave, was an object "
                                  "of the scene"}));
  FreeObject(editable);
}

TEST_F(SceneTest, ResultListsAreReadAtZeroAndReleasedThroughTheirField) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  ModelingCommandRecord record = RecordFor(Obj(mesh));
  ASSERT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  ResultList* const list = record.result;
  EXPECT_EQ(ResultListAt(list, 1), nullptr);
  EXPECT_EQ(ResultListAt(nullptr, 0), nullptr);
  // The record itself is not its result field.
  FreeResultList(reinterpret_cast<ResultList**>(&record));
  ResultList* copyOfField = list;
  FreeResultList(&copyOfField);
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          "t_HostOS_At offset 304 (ResultListAt): argument 'index' must be 0, was 1",
                          "t_HostOS_At offset 304 (ResultListAt): argument 'list' must not be null",
                          "t_HostOS_At offset 288 (FreeResultList): argument 'field' is not a result list the host made",
                          "t_HostOS_At offset 288 (FreeResultList): argument 'field' must be the result field of the "
                          "record the host put the list in"}));
  // A result nobody took out goes with its list; a released list is not read again.
  FreeResultList(&record.result);
  EXPECT_EQ(scene().OutstandingCopies(), 0u);
  EXPECT_EQ(ResultListAt(list, 0), nullptr);
  const std::vector<std::string> late = Faults();
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(late[0].rfind("t_HostOS_At offset 304 (ResultListAt): argument 'list' is result list #", 0), 0u) << late[0];
  EXPECT_NE(late[0].find("released already"), std::string::npos);
}

TEST_F(SceneTest, UnfilledRecordReleasesNothing) {
  ModelingCommandRecord record{};
  FreeResultList(&record.result);
  EXPECT_EQ(record.result, nullptr);
}

TEST_F(SceneTest, FailingAndEmptyCommands) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  ModelingCommandRecord record = RecordFor(Obj(mesh));
  scene().FailCommand(kCommandMakeEditable);
  EXPECT_FALSE(RunModelingCommand(kCommandMakeEditable, &record));
  EXPECT_EQ(record.result, nullptr);
  scene().HealCommand(kCommandMakeEditable);
  scene().EmptyResult(kCommandMakeEditable);
  EXPECT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  EXPECT_EQ(ResultListAt(record.result, 0), nullptr);
  FreeResultList(&record.result);
}

TEST_F(SceneTest, OnlyTakenResultsAreFreedOnceAndWhole) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 8, 6, 0, group);
  const std::string entry = "t_HostOS_Bl offset 32 (FreeObject): argument 'object' ";
  FreeObject(Obj(group));
  FreeObject(nullptr);
  EXPECT_EQ(Faults(), (std::vector<std::string>{entry + "is an object of the scene, which belongs to a document",
                                                entry + "must not be null"}));

  ModelingCommandRecord record = RecordFor(Obj(group));
  ASSERT_TRUE(RunModelingCommand(kCommandMakeEditable, &record));
  BaseObject* copy = record.result != nullptr ? reinterpret_cast<BaseObject*>(scene().List(record.result)->nodes[0])
                                              : nullptr;
  FreeObject(copy);  // never taken out of its list: not the caller's
  BaseObject* taken = ResultListAt(record.result, 0);
  FreeObject(FirstChild(taken));  // goes with its result
  FreeObject(taken);
  FreeObject(taken);
  FreeResultList(&record.result);
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 3u);
  EXPECT_EQ(faults[0], entry.substr(0, entry.find(':')) +
                           ": the plug-in gave back an object the host never handed out");
  EXPECT_EQ(faults[1].rfind(entry + "is an object below editable copy #", 0), 0u) << faults[1];
  EXPECT_NE(faults[1].find("; only a result itself is freed"), std::string::npos) << faults[1];
  EXPECT_NE(faults[2].find("released editable copy #"), std::string::npos) << faults[2];
  EXPECT_NE(faults[2].find(" twice (first through t_HostOS_Bl offset 32 (FreeObject))"), std::string::npos)
      << faults[2];
}

TEST_F(SceneTest, ResultsArePrivateToTheCallThatObtainedThem) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  BaseObject* kept = host().IntoPlugin([&] { return FirstResult(kCommandMakeEditable, Obj(mesh)); });
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].rfind("the plug-in kept editable copy #", 0), 0u) << faults[0];
  EXPECT_NE(faults[0].find("past the call that obtained it"), std::string::npos);
  FreeObject(kept);
}
