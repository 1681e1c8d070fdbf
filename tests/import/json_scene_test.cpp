// The JSON scene format: what a good file makes, and where a bad one is wrong.
#include "scene_input_fixture.h"

using testhost::ObjectKind;
using testhost::SceneObject;
using testhost::input::FindByPath;
using testhost::input::PathOf;

namespace scene_input_test {
namespace {

class JsonSceneTest : public SceneInputTest {};

// Two documents describe the same objects in the same order.
void ExpectSameHierarchy(const SceneObject* a, const SceneObject* b) {
  for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
    SCOPED_TRACE(PathOf(a));
    EXPECT_EQ(a->name, b->name);
    EXPECT_EQ(a->kind, b->kind);
    EXPECT_EQ(a->points, b->points);
    EXPECT_EQ(a->polygons, b->polygons);
    EXPECT_EQ(a->ngons, b->ngons);
    EXPECT_EQ(a->segments, b->segments);
    ExpectSameHierarchy(a->firstChild, b->firstChild);
  }
  EXPECT_EQ(a == nullptr, b == nullptr) << "one list of siblings is longer";
}

TEST_F(JsonSceneTest, BundledJsonSceneIsTheTextScene) {
  testhost::Document* text = Load(STATLUME_SCENES_DIR "/default.scene");
  testhost::Document* json = Load(STATLUME_SCENES_DIR "/default.json");
  EXPECT_EQ(scene().ActiveDocument(), json);
  ExpectSameHierarchy(text->firstRoot, json->firstRoot);
  EXPECT_EQ(PathOf(json->active), PathOf(text->active));
  EXPECT_EQ(PathOf(json->active), "Robot");
}

TEST_F(JsonSceneTest, HierarchyCountsAndActivePath) {
  testhost::Document* document = Load(Write("rig.json", R"({
    "objects": [
      {"name": "Rig", "kind": "null", "children": [
        {"name": "Arm", "kind": "polygon", "points": 8, "polygons": 6, "children": [
          {"name": "Hand", "kind": "polygon", "points": 40, "polygons": 12, "ngons": 3}
        ]},
        {"name": "Lens", "kind": "camera"},
        {"name": "Copy", "kind": "instance"}
      ]},
      {"name": "Ball", "kind": "sphere", "segments": 24},
      {"name": "Dust", "kind": "point", "points": 0}
    ],
    "active": "Rig/Arm/Hand"
  })"));
  SceneObject* hand = FindByPath(document, "Rig/Arm/Hand");
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(document->active, hand);
  EXPECT_EQ(hand->kind, ObjectKind::Polygon);
  EXPECT_EQ(hand->points, 40);
  EXPECT_EQ(hand->polygons, 12);
  EXPECT_EQ(hand->ngons, 3);
  EXPECT_EQ(hand->document, document);
  EXPECT_EQ(FindByPath(document, "Rig/Arm")->ngons, 0) << "ngons default to none";
  EXPECT_EQ(FindByPath(document, "Rig/Lens")->kind, ObjectKind::Camera);
  EXPECT_EQ(FindByPath(document, "Rig/Copy")->kind, ObjectKind::Instance);
  EXPECT_EQ(FindByPath(document, "Ball")->segments, 24);
  EXPECT_EQ(FindByPath(document, "Dust")->kind, ObjectKind::Point);
  // Siblings keep the file's order.
  const SceneObject* rig = document->firstRoot;
  ASSERT_EQ(rig->name, "Rig");
  EXPECT_EQ(rig->firstChild->name, "Arm");
  EXPECT_EQ(rig->lastChild->name, "Copy");
  EXPECT_EQ(rig->next->name, "Ball");
  EXPECT_EQ(document->lastRoot->name, "Dust");
  const Totals totals = TotalsOf(rig);
  EXPECT_EQ(totals.objects, 5);
  EXPECT_EQ(totals.polygons, 18);
  EXPECT_EQ(totals.points, 48);
}

TEST_F(JsonSceneTest, WithoutActiveTheFirstTopLevelObjectIsActive) {
  testhost::Document* document = Load(Write("plain.json", R"({"objects": [
    {"name": "First", "kind": "cube", "segments": 1}, {"name": "Second", "kind": "null"}]})"));
  EXPECT_EQ(document->active, document->firstRoot);
  EXPECT_EQ(document->active->name, "First");
}

TEST_F(JsonSceneTest, PathsFindAndNameEveryObject) {
  testhost::Document* document = Load(STATLUME_SCENES_DIR "/default.json");
  int seen = 0;
  std::vector<SceneObject*> pending{document->firstRoot};
  while (!pending.empty()) {
    SceneObject* object = pending.back();
    pending.pop_back();
    if (object == nullptr) continue;
    ++seen;
    EXPECT_EQ(FindByPath(document, PathOf(object)), object) << PathOf(object);
    pending.push_back(object->next);
    pending.push_back(object->firstChild);
  }
  EXPECT_EQ(seen, 8);
  EXPECT_EQ(PathOf(FindByPath(document, "Robot/Head/Visor")), "Robot/Head/Visor");
  for (const char* missing : {"", "Visor", "Robot/", "Robot/Visor", "Robot/Head/Visor/x", "/Robot"})
    EXPECT_EQ(FindByPath(document, missing), nullptr) << "'" << missing << "'";
  EXPECT_EQ(FindByPath(nullptr, "Robot"), nullptr);
}

// A bad scene: the text and where and why it is refused.
struct BadJson {
  const char* label;
  const char* text;
  ExpectedError error;
};

class BadJsonTest : public SceneInputTest, public testing::WithParamInterface<BadJson> {};

TEST_P(BadJsonTest, IsRefusedAtTheLineOfTheFault) {
  const std::string file = Write("bad.json", GetParam().text);
  EXPECT_TRUE(Matches(LoadError(file), file, GetParam().error));
}

const BadJson kBadJson[] = {
    // Not JSON at all, as nlohmann reports it.
    {"syntax", "{\n  \"objects\": [\n    {\"name\": \"A\",, \"kind\": \"null\"}\n  ]\n}", {3, "JSON syntax error"}},
    {"unterminated", "{\"objects\": [\n  {\"name\": \"A\", \"kind\": \"null\"}\n", {3, "unexpected end of input"}},
    {"trailing_junk", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\"}]}\nx", {2, "JSON syntax error"}},
    {"binary", "\x01\x02\xff\xfe", {1, "JSON syntax error"}},
    {"duplicate_key", "{\"objects\": [\n {\"name\": \"A\",\n  \"name\": \"B\", \"kind\": \"null\"}]}", {3, "appears twice"}},
    // The document.
    {"not_an_object", "[\n1]", {1, "must be a JSON object, not an array"}},
    {"no_objects", "{\n}", {1, "no \"objects\""}},
    {"objects_not_array", "{\n \"objects\": {}\n}", {2, "\"objects\" must be an array, not an object"}},
    {"empty_objects", "{\"objects\": []}", {1, "the scene has no objects"}},
    {"unknown_top_key", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\"}],\n \"actve\": \"A\"}", {2, "unknown key \"actve\""}},
    // Objects.
    {"object_not_object", "{\"objects\": [\n \"A\"]}", {2, "an object must be a JSON object, not a string"}},
    {"no_name", "{\"objects\": [\n {\"kind\": \"null\"}]}", {2, "has no \"name\""}},
    {"name_number", "{\"objects\": [\n {\"name\": 7, \"kind\": \"null\"}]}", {2, "\"name\" must be a string, not a number"}},
    {"name_empty", "{\"objects\": [{\"name\": \"\", \"kind\": \"null\"}]}", {1, "\"name\" is empty"}},
    {"name_slash", "{\"objects\": [{\"name\": \"A/B\", \"kind\": \"null\"}]}", {1, "contains '/'"}},
    {"unknown_kind", "{\"objects\": [{\"name\": \"A\",\n \"kind\": \"cone\"}]}", {2, "unknown kind 'cone'"}},
    {"unknown_key", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\",\n \"colour\": 1}]}", {2, "unknown key \"colour\""}},
    {"count_of_other_kind", "{\"objects\": [{\"name\": \"A\", \"kind\": \"polygon\", \"points\": 3, \"polygons\": 1,\n \"segments\": 2}]}",
     {2, "\"segments\" does not belong to a polygon object"}},
    {"children_not_array", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\",\n \"children\": {}}]}", {2, "\"children\" must be an array"}},
    {"bad_child", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\", \"children\": [\n {\"name\": \"B\", \"kind\": \"point\",\n \"points\": -1}]}]}",
     {3, "\"points\" -1 is negative"}},
    // Counts.
    {"missing_count", "{\"objects\": [\n {\"name\": \"A\", \"kind\": \"polygon\", \"points\": 3}]}", {2, "has no \"polygons\""}},
    {"missing_segments", "{\"objects\": [\n {\"name\": \"A\", \"kind\": \"cube\"}]}", {2, "has no \"segments\""}},
    {"negative", "{\"objects\": [{\"name\": \"A\", \"kind\": \"polygon\",\n \"points\": 3,\n \"polygons\": -2}]}", {3, "\"polygons\" -2 is negative"}},
    {"string_count", "{\"objects\": [{\"name\": \"A\", \"kind\": \"point\",\n \"points\": \"12\"}]}", {2, "\"points\" must be a whole number, not a string"}},
    {"fraction", "{\"objects\": [{\"name\": \"A\", \"kind\": \"sphere\",\n \"segments\": 2.5}]}", {2, "not a number with a fraction"}},
    {"whole_float", "{\"objects\": [{\"name\": \"A\", \"kind\": \"sphere\",\n \"segments\": 2.0}]}", {2, "not a number with a fraction"}},
    {"boolean_count", "{\"objects\": [{\"name\": \"A\", \"kind\": \"point\",\n \"points\": true}]}", {2, "not a boolean"}},
    {"too_large", "{\"objects\": [{\"name\": \"A\", \"kind\": \"point\",\n \"points\": 2147483648}]}", {2, "2147483648 is too large"}},
    {"huge_negative", "{\"objects\": [{\"name\": \"A\", \"kind\": \"point\",\n \"points\": -9999999999}]}", {2, "is negative"}},
    {"ngons_over_polygons", "{\"objects\": [{\"name\": \"A\", \"kind\": \"polygon\", \"points\": 9, \"polygons\": 2,\n \"ngons\": 3}]}",
     {2, "\"ngons\" 3 are more than \"polygons\" 2"}},
    {"zero_segments", "{\"objects\": [{\"name\": \"A\", \"kind\": \"plane\",\n \"segments\": 0}]}", {2, "at least 1"}},
    // The active object.
    {"active_missing", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\", \"children\": [{\"name\": \"B\", \"kind\": \"null\"}]}],\n"
                       " \"active\": \"B\"}", {2, "no object at the path 'B'"}},
    {"active_not_string", "{\"objects\": [{\"name\": \"A\", \"kind\": \"null\"}],\n \"active\": 0}", {2, "\"active\" must be a path"}},
};

INSTANTIATE_TEST_SUITE_P(Json, BadJsonTest, testing::ValuesIn(kBadJson),
                         [](const testing::TestParamInfo<BadJson>& param) { return std::string(param.param.label); });

TEST_F(JsonSceneTest, NestingTooDeepIsRefusedNotOverflowed) {
  std::string text = "{\"objects\": [";
  for (int i = 0; i < 5000; ++i) text += "{\"name\": \"n\", \"kind\": \"null\", \"children\": [";
  for (int i = 0; i < 5000; ++i) text += "]}";
  text += "]}";
  const std::string file = Write("deep.json", text);
  EXPECT_TRUE(Matches(LoadError(file), file, {1, "nested too deeply"}));
}

TEST_F(JsonSceneTest, NestingUpToTheLimitLoads) {
  std::string text = "{\"objects\": [";
  for (int i = 0; i < 1000; ++i) text += "{\"name\": \"n\", \"kind\": \"null\", \"children\": [";
  for (int i = 0; i < 1000; ++i) text += "]}";
  text += "]}";
  testhost::Document* document = Load(Write("deep.json", text));
  int depth = 0;
  for (const SceneObject* object = document->firstRoot; object != nullptr; object = object->firstChild) ++depth;
  EXPECT_EQ(depth, 1000);
}

}  // namespace
}  // namespace scene_input_test
