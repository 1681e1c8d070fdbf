// statlume-host --tree: every object of a scene with the eight fields the plug-in
// shows with it active, and paths that --object takes back; the dialog's options
// from the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "run_program.h"

using nlohmann::json;

namespace {

const std::string kScenes = STATLUME_SOURCE_DIR "/testhost/scenes";
const std::string kTestdata = STATLUME_SOURCE_DIR "/testhost/import/testdata";

// The eight numbers of a row of the tree or of a state, in the dialog's order:
// Polygons, Points, N-Gons, Objects, each Current then Editable.
using Eight = std::vector<long long>;

Eight Numbers(const json& fields) {
  Eight numbers;
  for (const char* row : {"polygons", "points", "ngons", "objects"})
    for (const char* column : {"currentCount", "editableCount"})
      numbers.push_back(fields.at(row).at(column).get<long long>());
  return numbers;
}

json Tree(const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {"--tree", "--json"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  const ProgramRun run = RunProgram(words);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << "one document on one line:\n" << run.out;
  return json::parse(run.out);
}

struct Row {
  std::string path;
  int depth;
  Eight numbers;
};

void ExpectRows(const json& tree, const std::vector<Row>& expected) {
  ASSERT_EQ(tree.size(), expected.size()) << tree.dump();
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(tree[i].at("path"), expected[i].path) << i;
    EXPECT_EQ(tree[i].at("depth"), expected[i].depth) << expected[i].path;
    EXPECT_EQ(Numbers(tree[i].at("fields")), expected[i].numbers) << expected[i].path;
  }
}

}  // namespace

// The bundled scene, counted by hand. "Current" adds what each object of the
// subtree stores (generators store nothing) and counts every object; "Editable"
// converts the subtree (a cube of s segments: 6s² polygons, 6s²+2 points; a sphere
// of 16: 16 around × 8 rings = 128 polygons, 16 × 7 + 2 = 114 points; a plane of 8:
// 64 polygons, 81 points), joins it, and counts the objects that hold geometry.
TEST(ProgramTree, BundledSceneAsCountedByHand) {
  const std::vector<Row> childrenOn = {
      // Visor 10/24/2 and Antenna 10/12/1 store geometry, all six objects count;
      // converted: Body 24/26 + Head 128/114 + Visor + Antenna, four hold geometry.
      {"Robot", 0, {20, 172, 36, 176, 3, 3, 6, 4}},
      // A cube of 2 segments stores nothing; converted 24 polygons, 26 points.
      {"Robot/Body", 1, {0, 24, 0, 26, 0, 0, 1, 1}},
      // Its Visor's 10/24/2 stored; converted the sphere's 128/114 join the Visor's.
      {"Robot/Head", 1, {10, 138, 24, 138, 2, 2, 2, 2}},
      // A polygon object is its own editable form.
      {"Robot/Head/Visor", 2, {10, 10, 24, 24, 2, 2, 1, 1}},
      {"Robot/Antenna", 1, {10, 10, 12, 12, 1, 1, 1, 1}},
      // A camera: one object, no geometry, and none once converted.
      {"Robot/Eye-Camera", 1, {0, 0, 0, 0, 0, 0, 1, 0}},
      // A plane of 8 segments: 8 × 8 polygons on 9 × 9 points once converted.
      {"Floor", 0, {0, 64, 0, 81, 0, 0, 1, 1}},
      // Points without polygons, the same before and after conversion.
      {"Scan-Points", 0, {0, 0, 1500, 1500, 0, 0, 1, 1}},
  };
  ExpectRows(Tree({kScenes + "/default.scene"}), childrenOn);

  // With Include Non-Poly/Point Objects the converted null and camera count too:
  // Robot's six objects, and the camera alone. Nothing else changes.
  std::vector<Row> nonPoly = childrenOn;
  nonPoly[0].numbers[7] = 6;
  nonPoly[5].numbers[7] = 1;
  ExpectRows(Tree({"--nonpoly", "on", kScenes + "/default.scene"}), nonPoly);
}

// The text table: the eight fields in aligned columns, then the path indented two
// spaces per level.
TEST(ProgramTree, TextIndentsThePathsAsTheHierarchy) {
  const ProgramRun run = RunProgram({"--tree", kScenes + "/default.scene"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string table =
      "  Polygons           Points             N-Gons             Objects\n"
      "   Current Editable   Current Editable   Current Editable   Current Editable  Path\n"
      "        20      172        36      176         3        3         6        4  Robot\n"
      "         0       24         0       26         0        0         1        1    Robot/Body\n"
      "        10      138        24      138         2        2         2        2    Robot/Head\n"
      "        10       10        24       24         2        2         1        1      Robot/Head/Visor\n"
      "        10       10        12       12         1        1         1        1    Robot/Antenna\n"
      "         0        0         0        0         0        0         1        0    Robot/Eye-Camera\n"
      "         0       64         0       81         0        0         1        1  Floor\n"
      "         0        0      1500     1500         0        0         1        1  Scan-Points\n";
  EXPECT_NE(run.out.find(table), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("no host faults"), std::string::npos);
  const std::string help = RunProgram({"--help"}).out;
  for (const char* option : {"--tree", "--children on|off", "--nonpoly on|off", "--pause on|off", "--script -", "FILE -"})
    EXPECT_NE(help.find(option), std::string::npos) << option << " is missing from --help";
}

// Every path the tree prints, given to --object, makes that object active, and
// the dialog then shows the tree's numbers: siblings of one name, names with
// brackets of their own, imported files.
TEST(ProgramTree, EveryPathSelectsItsObject) {
  ScratchFolder scratch;
  const std::string brackets = scratch.Write("brackets.json", R"({"objects": [
    {"name": "A", "kind": "polygon", "points": 4, "polygons": 1, "children": [{"name": "Hand", "kind": "cube", "segments": 1}]},
    {"name": "A", "kind": "null", "children": [
      {"name": "Hand", "kind": "point", "points": 3}, {"name": "Hand", "kind": "sphere", "segments": 4}]},
    {"name": "A[2]", "kind": "point", "points": 7},
    {"name": "nodes[1]", "kind": "camera"},
    {"name": "A[1]", "kind": "polygon", "points": 5, "polygons": 2, "ngons": 1}]})");
  const std::vector<std::pair<std::string, std::vector<std::string>>> scenes = {
      {kScenes + "/default.scene", {}},
      {kTestdata + "/groups.obj", {"groups.obj/Bolt", "groups.obj/Bolt[2]"}},
      {brackets, {"A", "A/Hand", "A[2]", "A[2]/Hand", "A[2]/Hand[2]", "A[2][1]", "nodes[1]", "A[1][1]"}},
      {kTestdata + "/rig.gltf", {}},
  };
  for (const auto& [scene, mustList] : scenes) {
    const json tree = Tree({scene});
    std::vector<std::string> paths;
    for (const json& row : tree) paths.push_back(row.at("path").get<std::string>());
    for (const std::string& path : mustList)
      EXPECT_NE(std::find(paths.begin(), paths.end(), path), paths.end()) << scene << " lists no " << path;
    for (const json& row : tree) {
      const std::string path = row.at("path").get<std::string>();
      const ProgramRun run = RunProgram({"--json", "--object", path, scene});
      ASSERT_EQ(run.status, 0) << path << ": " << run.err;
      const json state = json::parse(run.out);
      EXPECT_EQ(state.at("object"), path) << scene;
      EXPECT_EQ(state.at("fields"), row.at("fields")) << scene << " " << path;
    }
  }
}

// The dialog's options as the run starts, in the first state and in those after.
TEST(ProgramTree, DialogOptionsFromTheCommandLine) {
  ScratchFolder scratch;
  const std::string script = scratch.Write("s.script", "edit Robot/Antenna polygons 30\npause off\n");
  const ProgramRun run = RunProgram(
      {"--json", "--children", "off", "--nonpoly", "on", "--pause", "on", "--script", script, kScenes + "/default.scene"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::vector<json> states;
  for (std::string line; std::getline(lines, line);) states.push_back(json::parse(line));
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[0].at("options"), (json{{"includeChildren", false}, {"includeNonPoly", true}, {"pause", true}}));
  // Robot alone, a null: one object, nothing to convert; greyed by the pause.
  EXPECT_EQ(Numbers(states[0].at("fields")), (Eight{0, 0, 0, 0, 0, 0, 1, 0}));
  EXPECT_TRUE(states[0].at("fields").at("objects").at("greyed").get<bool>());
  EXPECT_TRUE(states[1].at("fields").at("polygons").at("greyed").get<bool>());
  // Unpaused, children still off: Robot alone still.
  EXPECT_FALSE(states[2].at("options").at("pause").get<bool>());
  EXPECT_EQ(Numbers(states[2].at("fields")), (Eight{0, 0, 0, 0, 0, 0, 1, 0}));

  const ProgramRun children = RunProgram({"--json", "--children", "on", "--object", "Robot/Head", kScenes + "/default.scene"});
  ASSERT_EQ(children.status, 0) << children.err;
  EXPECT_EQ(Numbers(json::parse(children.out).at("fields")), (Eight{10, 138, 24, 138, 2, 2, 2, 2}));
}

TEST(ProgramTree, CombinationsThatSayNothingAreRefused) {
  const std::string scene = kScenes + "/default.scene";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--tree", "--children", "off"}, "--tree counts each object with its children"},
      {{"--tree", "--pause", "on"}, "--tree counts each object as it is selected"},
      {{"--tree", "--script", scene}, "--tree lists every object once"},
      {{"--tree", "--interactive"}, "--tree lists every object once"},
      {{"--tree", "--png", "tree.png"}, "--tree lists every object once"},
      {{"--tree", "--object", "Robot"}, "--tree lists every object once"},
      {{"--nonpoly", "maybe"}, "option --nonpoly takes on or off, not 'maybe'"},
      {{"--children"}, "option --children needs a value"},
  };
  for (const auto& [arguments, message] : cases) {
    for (const bool asJson : {false, true}) {
      std::vector<std::string> words = arguments;
      if (asJson) words.insert(words.begin(), "--json");
      const ProgramRun run = RunProgram(words);
      EXPECT_EQ(run.status, 2) << message;
      EXPECT_EQ(run.err.rfind("statlume-host: " + message, 0), 0u) << run.err;
      EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
      if (!asJson) {
        EXPECT_EQ(run.out, "");
      }
    }
  }
  // Options that change nothing for the tree are taken.
  EXPECT_EQ(RunProgram({"--tree", "--children", "on", "--pause", "off", scene}).status, 0);
}
