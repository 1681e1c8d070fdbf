// Paths reach every object, also among siblings of one name ("Bolt[2]"), and an
// object's path leads back to it, whatever brackets its own name holds.
#include "scene_input_fixture.h"

using testhost::SceneObject;
using testhost::input::AllPaths;
using testhost::input::FindByPath;
using testhost::input::PathOf;

namespace scene_input_test {
namespace {

class ScenePathsTest : public SceneInputTest {
 protected:
  // Every object of the document, depth first.
  static std::vector<SceneObject*> Objects(testhost::Document* document) {
    std::vector<SceneObject*> objects, pending{document->firstRoot};
    while (!pending.empty()) {
      SceneObject* object = pending.back();
      pending.pop_back();
      if (object == nullptr) continue;
      objects.push_back(object);
      pending.push_back(object->next);
      pending.push_back(object->firstChild);
    }
    return objects;
  }

  static int DepthOf(const SceneObject* object) {
    int depth = 0;
    for (; object->parent != nullptr; object = object->parent) ++depth;
    return depth;
  }

  // Every path leads back to its object, and the listing of all paths gives each
  // object once, in the order of the hierarchy, with the same path and its depth.
  static void ExpectEveryPathLeadsBack(testhost::Document* document) {
    const std::vector<SceneObject*> objects = Objects(document);
    for (SceneObject* object : objects) EXPECT_EQ(FindByPath(document, PathOf(object)), object) << PathOf(object);
    const std::vector<testhost::input::ObjectPath> listed = AllPaths(document);
    ASSERT_EQ(listed.size(), objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
      EXPECT_EQ(listed[i].object, objects[i]) << i;
      EXPECT_EQ(listed[i].path, PathOf(objects[i])) << i;
      EXPECT_EQ(listed[i].depth, DepthOf(objects[i])) << listed[i].path;
    }
  }
};

TEST_F(ScenePathsTest, SiblingsOfOneNameByTheirPlace) {
  testhost::Document* document = Load(STATLUME_IMPORT_DATA_DIR "/groups.obj");
  const SceneObject* first = FindByPath(document, "groups.obj/Bolt");
  const SceneObject* second = FindByPath(document, "groups.obj/Bolt[2]");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(second->name, "Bolt");
  EXPECT_EQ(second->polygons, 2) << "the second Bolt group holds two faces";
  EXPECT_EQ(FindByPath(document, "groups.obj/Bolt[1]"), first);
  EXPECT_EQ(PathOf(first), "groups.obj/Bolt");
  EXPECT_EQ(PathOf(second), "groups.obj/Bolt[2]");
  for (const char* missing : {"groups.obj/Bolt[3]", "groups.obj/Bolt[0]", "groups.obj/Bolt[02]", "groups.obj/Bolt[]",
                              "groups.obj/Bolt[x]", "groups.obj/Bolt[-1]", "groups.obj/Bolt[99999999999999999999]"})
    EXPECT_EQ(FindByPath(document, missing), nullptr) << missing;
  ExpectEveryPathLeadsBack(document);
}

// Names with brackets of their own: a whole name is found as written unless the
// same text picks a sibling by its place; the path made for it always finds it.
TEST_F(ScenePathsTest, NamesWithBracketsOfTheirOwn) {
  testhost::Document* document = Load(Write("brackets.json", R"({"objects": [
    {"name": "A", "kind": "null", "children": [{"name": "Hand", "kind": "null"}]},
    {"name": "A", "kind": "null", "children": [{"name": "Hand", "kind": "null"}, {"name": "Hand", "kind": "null"}]},
    {"name": "A[2]", "kind": "null"},
    {"name": "nodes[1]", "kind": "null"},
    {"name": "A[1]", "kind": "null"},
    {"name": "[3]", "kind": "null"}],
    "active": "A[2]/Hand[2]"})"));
  std::vector<SceneObject*> roots;
  for (SceneObject* root = document->firstRoot; root != nullptr; root = root->next) roots.push_back(root);
  ASSERT_EQ(roots.size(), 6u);
  EXPECT_EQ(document->active, roots[1]->lastChild) << "the scene's active path picks by place too";
  EXPECT_EQ(PathOf(document->active), "A[2]/Hand[2]");
  EXPECT_EQ(FindByPath(document, "A[2]"), roots[1]) << "the place among the A comes first";
  EXPECT_EQ(PathOf(roots[2]), "A[2][1]");
  EXPECT_EQ(FindByPath(document, "nodes[1]"), roots[3]) << "no sibling is called nodes: the whole name";
  EXPECT_EQ(PathOf(roots[3]), "nodes[1]");
  EXPECT_EQ(FindByPath(document, "A[1]"), roots[0]);
  EXPECT_EQ(PathOf(roots[4]), "A[1][1]");
  EXPECT_EQ(FindByPath(document, "[3]"), roots[5]);
  ExpectEveryPathLeadsBack(document);

  const std::string past = Write("past.json", R"({"objects": [{"name": "A", "kind": "null"},
    {"name": "A", "kind": "null"}], "active": "A[3]"})");
  EXPECT_TRUE(Matches(LoadError(past), past, {2, "no object at the path 'A[3]'"}));
}

}  // namespace
}  // namespace scene_input_test
