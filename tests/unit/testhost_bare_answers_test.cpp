// The bare host the benchmarks use (Host::SetBareAnswers): the dialog shows what it
// shows with the strict host, on every kind of hierarchy and option, and the strict
// host, checks and all, is the default and comes back when the bare one goes.
#include <map>
#include <memory>
#include <random>
#include <string>

#include "Statlume.h"
#include "host_scene.h"
#include "runtime_fixture.h"
#include "testhost/scene_count.h"

namespace code = testhost::code;
namespace tool = testhost::tool;
using testhost::ObjectKind;
using testhost::SceneObject;

namespace {

class BareAnswersTest : public BoundRuntimeTest {
 protected:
  void SetUp() override {
    BoundRuntimeTest::SetUp();
    document = scene().NewDocument();
    dialog = std::make_unique<StatlumeDialog>();
  }
  void TearDown() override {
    dialog.reset();
    EXPECT_EQ(scene().OutstandingCopies(), 0u);
    EXPECT_EQ(scene().LiveResultLists(), 0u);
    BoundRuntimeTest::TearDown();
  }

  // A hierarchy of every kind, `size` objects, random shape, counts and n-gons.
  SceneObject* Build(std::mt19937& random, int size) {
    const ObjectKind kinds[] = {ObjectKind::Polygon, ObjectKind::Point,  ObjectKind::Null, ObjectKind::Camera,
                                ObjectKind::Instance, ObjectKind::Cube, ObjectKind::Sphere, ObjectKind::Plane};
    std::uniform_int_distribution<int> kind(0, 7), count(0, 50);
    std::vector<SceneObject*> made;
    SceneObject* root = scene().AddPolygonObject(document, 12, 10, 2);
    made.push_back(root);
    for (int i = 1; i < size; ++i) {
      SceneObject* parent = made[std::uniform_int_distribution<std::size_t>(0, made.size() - 1)(random)];
      const int points = count(random), polygons = count(random);
      made.push_back(scene().AddObject(document, kinds[kind(random)],
                                       {points, polygons, polygons / 3, count(random) % 6 + 1}, parent));
    }
    return root;
  }

  void Open() {
    ASSERT_TRUE(dialog->OpenWindow(DLG_TYPE::ASYNC, tool::kCommandId, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  }
  testhost::Window& window() { return *windows().Find(dialog->WindowHandle()); }
  // The eight fields after a recount.
  std::map<std::int32_t, std::string> Recount() {
    windows().Send(window(), code::MciM, {{code::MciI, code::kSceneChanged}});
    std::map<std::int32_t, std::string> texts;
    for (std::int32_t id : testhost::kCountFields) texts[id] = window().elements[id].text;
    return texts;
  }
  void Choose(std::int32_t item) { windows().Send(window(), code::bACT, {{code::meid, item}}); }
  // A call the strict host refuses: an object it never made.
  void CountAnObjectTheHostNeverMade() {
    SceneObject stranger;
    TagElementCount(reinterpret_cast<BaseObject*>(&stranger), 5600);
  }

  testhost::Document* document = nullptr;
  std::unique_ptr<StatlumeDialog> dialog;
};

TEST_F(BareAnswersTest, StrictIsTheDefault) {
  EXPECT_FALSE(host().BareAnswers());
  CountAnObjectTheHostNeverMade();
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("is not an object the host knows"), std::string::npos) << faults[0];
}

TEST_F(BareAnswersTest, SameCountsAsTheStrictHostOnEveryHierarchyAndOption) {
  std::mt19937 random(11);
  Open();
  for (int size : {1, 2, 40, 3000}) {
    SceneObject* root = Build(random, size);
    for (SceneObject* active : {root, root->firstChild}) {
      if (active == nullptr) continue;
      scene().SetActive(document, active);
      for (int options = 0; options < 4; ++options) {
        const testhost::CountOptions expected{options % 2 == 0, options / 2 == 1};
        const std::map<std::int32_t, std::string> strict = Recount();
        host().SetBareAnswers(true);
        const std::map<std::int32_t, std::string> bare = Recount();
        host().SetBareAnswers(false);
        EXPECT_EQ(bare, strict) << size << " objects, options " << options;
        EXPECT_EQ(testhost::DescribeDifference(testhost::CountTexts(testhost::CountObject(*active, expected)), strict),
                  "")
            << size << " objects, options " << options;
        // The next options: children off, then non-polygon objects on, then both.
        Choose(options % 2 == 0 ? tool::kIncludeChildren : tool::kIncludeNonPoly);
        if (options % 2 == 1) Choose(tool::kIncludeChildren);
      }
    }
  }
  EXPECT_TRUE(Faults().empty());
}

TEST_F(BareAnswersTest, StrictChecksComeBackWhenTheBareHostGoes) {
  host().SetBareAnswers(true);
  EXPECT_TRUE(host().BareAnswers());
  host().SetBareAnswers(false);
  EXPECT_FALSE(host().BareAnswers());
  CountAnObjectTheHostNeverMade();
  EXPECT_EQ(Faults().size(), 1u);
  // And command results are registered again: the plug-in owns what it takes out.
  scene().SetActiveDocument(document);
  ModelingCommandRecord record{};
  record.document = reinterpret_cast<BaseDocument*>(document);
  record.object = reinterpret_cast<BaseObject*>(scene().AddPolygonObject(document, 8, 6));
  ASSERT_TRUE(RunModelingCommand(245, &record));
  BaseObject* copy = ResultListAt(record.result, 0);
  EXPECT_TRUE(host().Objects().IsPluginOwned(copy));
  FreeResultList(&record.result);
  FreeObject(copy);
  EXPECT_TRUE(Faults().empty());
}

}  // namespace
