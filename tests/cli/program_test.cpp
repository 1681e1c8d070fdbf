// statlume-host used as a person uses it: its options, its outputs, a replayed
// session, and every kind of bad input ending in one clear message and status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "run_program.h"
#include "testhost/sanitizers.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using testhost::kAddressSanitizer;

const std::string kScenes = STATLUME_SOURCE_DIR "/testhost/scenes";
const std::string kModels = "/usr/share/assimp/models";

std::vector<json> JsonStates(const std::string& out) {
  std::vector<json> states;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) states.push_back(json::parse(line));
  return states;
}

// The four numbers of a column, in the order Polygons, Points, N-Gons, Objects.
std::vector<std::string> Column(const json& state, const std::string& column) {
  std::vector<std::string> values;
  for (const char* row : {"polygons", "points", "ngons", "objects"})
    values.push_back(state.at("fields").at(row).at(column).get<std::string>());
  return values;
}

using Numbers = std::vector<std::string>;

}  // namespace

TEST(Program, HelpVersionAndTheBundledScene) {
  const ProgramRun help = RunProgram({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: statlume-host [options] [FILE|FOLDER...]"), std::string::npos);
  EXPECT_NE(help.out.find(" obj"), std::string::npos) << "the 3D formats read are listed";
  const ProgramRun version = RunProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("statlume-host ", 0), 0u);

  const ProgramRun run = RunProgram({});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("| Polygons            20         172"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("| Objects              6           4"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("no host faults"), std::string::npos);
}

TEST(Program, JsonCarriesWhatTheDialogShows) {
  const ProgramRun run = RunProgram({"--json", "--object", "Robot/Head/Visor", kScenes + "/default.scene"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> states = JsonStates(run.out);
  ASSERT_EQ(states.size(), 1u);
  const json& state = states[0];
  EXPECT_EQ(state.at("object"), "Robot/Head/Visor");
  EXPECT_EQ(state.at("scene"), kScenes + "/default.scene");
  EXPECT_EQ(state.at("dialog"), "open");
  EXPECT_EQ(state.at("options"), (json{{"includeChildren", true}, {"includeNonPoly", false}, {"pause", false}}));
  EXPECT_EQ(Column(state, "current"), (Numbers{"10", "24", "2", "1"}));
  EXPECT_EQ(Column(state, "editable"), (Numbers{"10", "24", "2", "1"}));
  EXPECT_FALSE(state.at("fields").at("polygons").at("greyed").get<bool>());
}

// Siblings of one name: the Nth by NAME[N], in --object, in scripts and in the
// path the JSON names.
TEST(Program, ObjectsOfOneNameByTheirPlace) {
  const std::string groups = STATLUME_SOURCE_DIR "/testhost/import/testdata/groups.obj";
  ScratchFolder scratch;
  const std::string script = scratch.Write("bolts.script", "select groups.obj/Bolt\nselect groups.obj/Bolt[2]\n");
  const ProgramRun run = RunProgram({"--json", "--object", "groups.obj/Bolt[2]", "--script", script, groups});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> states = JsonStates(run.out);
  ASSERT_EQ(states.size(), 3u);
  for (const json* second : {&states[0], &states[2]}) {
    EXPECT_EQ(second->at("object"), "groups.obj/Bolt[2]");
    EXPECT_EQ(Column(*second, "current"), (Numbers{"2", "5", "0", "1"}));
  }
  EXPECT_EQ(states[1].at("object"), "groups.obj/Bolt");
  EXPECT_EQ(Column(states[1], "current"), (Numbers{"1", "3", "0", "1"}));
  EXPECT_NE(RunProgram({"--help"}).out.find("NAME[N] is the Nth of the siblings called NAME"), std::string::npos);
}

// The bundled session: a scene change, options, a pause, About and Help, the
// window closed and reopened, and scene edits between.
TEST(Program, ReplayedSessionFollowsEveryEvent) {
  const ProgramRun run = RunProgram({"--json", "--script", kScenes + "/demo.script"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> states = JsonStates(run.out);
  std::map<std::string, json> after;
  for (const json& state : states) after[state.at("event").get<std::string>()] = state;
  ASSERT_EQ(states.size(), 17u);
  EXPECT_EQ(Column(after.at("open"), "current"), (Numbers{"20", "36", "3", "6"}));
  EXPECT_EQ(Column(after.at("edit Robot/Head segments 32"), "editable"), (Numbers{"556", "544", "3", "4"}));
  // Paused: the fields grey and keep their numbers while the scene changes.
  const json& paused = after.at("edit Robot/Body segments 4");
  EXPECT_TRUE(paused.at("options").at("pause").get<bool>());
  EXPECT_TRUE(paused.at("fields").at("points").at("greyed").get<bool>());
  EXPECT_EQ(Column(paused, "editable"), Column(after.at("pause on"), "editable"));
  // Unpaused: the change made while paused shows.
  EXPECT_NE(Column(after.at("pause off"), "editable"), Column(paused, "editable"));
  EXPECT_EQ(after.at("about").at("messageBoxes").size(), 1u);
  EXPECT_EQ(after.at("help").at("openedFiles").size(), 1u);
  EXPECT_EQ(after.at("close").at("dialog"), "closed");
  // Reopened: the options start from their defaults, the new object counts.
  const json& reopened = after.at("reopen");
  EXPECT_EQ(reopened.at("dialog"), "open");
  EXPECT_EQ(reopened.at("options"), (json{{"includeChildren", true}, {"includeNonPoly", false}, {"pause", false}}));
  EXPECT_EQ(Column(reopened, "current"), (Numbers{"24", "41", "3", "7"}));
  EXPECT_EQ(Column(reopened, "editable"), (Numbers{"632", "621", "3", "5"}));
  EXPECT_EQ(Column(after.at("delete Robot/Head/Visor"), "current"), (Numbers{"0", "0", "0", "1"}));
  EXPECT_EQ(after.at("select Robot").at("object"), "Robot");
}

TEST(Program, PicturesOnePerState) {
  ScratchFolder scratch;
  const std::string script = scratch.Write("s.script", "pause on\nclose\n");
  const ProgramRun run = RunProgram({"--script", script, "--png", scratch.Path("dialog.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"dialog-01.png", "dialog-02.png"}) {
    std::ifstream picture(scratch.Path(name), std::ios::binary);
    std::string signature(8, '\0');
    picture.read(signature.data(), 8);
    EXPECT_EQ(signature, std::string("\x89PNG\r\n\x1a\n", 8)) << name;
  }
  EXPECT_FALSE(fs::exists(scratch.Path("dialog-03.png"))) << "the closed dialog is not drawn";
}

// Every bad input: one message naming the file (and line) and the reason, status 2.
TEST(Program, BadInputEndsInOneClearMessage) {
  ScratchFolder scratch;
  const std::string empty = scratch.Write("empty.obj", "");
  const std::string binary = scratch.Write("noise.ply", std::string("\x01\x02\xff\xfe garbage\x00\x07", 15));
  const std::string badJson = scratch.Write("bad.json", "{\n  \"objects\": [\n    {\"name\": \"A\",, }\n]}\n");
  const std::string negative = scratch.Write("negative.scene", "A polygon 8 -6 0\n");
  const std::string words = scratch.Write("words.scene", "A polygon eight 6 0\n");
  const std::string badScript = scratch.Write("bad.script", "pause on\nfly away\n");
  const std::string badPath = scratch.Write("path.script", "select Robot/Nose\n");
  const std::string scene = kScenes + "/default.scene";
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{scratch.Path("missing.obj")}, scratch.Path("missing.obj")},
      {{empty}, empty},
      {{binary}, binary},
      {{badJson}, badJson + ":3"},
      {{negative}, negative + ":1"},
      {{words}, words + ":1"},
      {{"--object", "Robot/Nose", scene}, "Robot/Nose"},
      {{"--script", badScript, scene}, badScript + ":2: unknown event 'fly'"},
      {{"--script", badPath, scene}, badPath + ":1: no object at path 'Robot/Nose'"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--object"}, "option --object needs a value"},
      {{"--plugins", scratch.Path("nowhere")}, "not a folder"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments.back() << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << "expected '" << c.message << "' in: " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  }
}

// One file of every 3D format opens, as one top-level object named after the file.
TEST(Program, EveryFormatOpens) {
  const std::vector<std::string> files = {
      "OBJ/box.obj",          "PLY/cube.ply",   "STL/Spider_ascii.stl", "FBX/box.fbx", "Collada/COLLADA.dae",
      "3DS/RotatingCube.3DS", "glTF2/BoxTextured-glTF/BoxTextured.gltf",
      "glTF2/BoxTextured-glTF-Binary/BoxTextured.glb"};
  for (const std::string& file : files) {
    const std::string path = kModels + "/" + file;
    if (!fs::exists(path)) {
      ADD_FAILURE() << "test model missing: " << path;
      continue;
    }
    const ProgramRun run = RunProgram({"--json", path});
    ASSERT_EQ(run.status, 0) << file << ": " << run.err;
    const json state = JsonStates(run.out).at(0);
    EXPECT_EQ(state.at("object"), fs::path(path).filename().string()) << file;
    EXPECT_NE(Column(state, "current")[0], "0") << file << " has polygons";
  }
}

// The validator: each case in a process of its own, a summary line, a report.
TEST(Validator, QuickLevelPassesAndReports) {
  ScratchFolder scratch;
  const ProgramRun run = RunProgram({"validate", "--level", "1", "--json", scratch.Path("report.json")});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("passed   load.records"), std::string::npos) << run.out;
  const json report = json::parse(SchemaCheckedFile(scratch.Path("report.json")));
  EXPECT_EQ(report.at("failed"), 0);
  EXPECT_EQ(report.at("level"), 1);
  int cycles = 0;
  for (const json& c : report.at("cases")) {
    EXPECT_EQ(c.at("status"), "passed") << c.dump();
    if (c.at("name") == "load.cycles") cycles = c.at("figures").at("cycles").get<int>();
  }
  EXPECT_EQ(cycles, 100);
  EXPECT_NE(run.out.find(std::to_string(report.at("passed").get<int>()) + " passed, 0 failed\n"), std::string::npos);
}

TEST(Validator, BadArgumentsEndInOneClearMessage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"validate", "--level", "11"}, "--level takes a number from 1 to 10"},
      {{"validate", "--case", "no.such"}, "no case named no.such"},
      {{"validate", "--group", "nosuch"}, "no group named nosuch"},
      {{"validate", "--frobnicate"}, "unknown option --frobnicate"},
      {{"validate", "--group", "tables", "--level", "1"}, "no case of group tables runs at level 1"},
      {{"validate", STATLUME_FIXTURE_ROOT}, "more than one plug-in library in"},
      {{"validate", "--json", "/nonexistent/report.json"}, "cannot write the report"},
      {{"validate", "--json"}, "option --json needs a value"},
  };
  for (const auto& [arguments, message] : cases) {
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

// --group runs the cases of one group up to the level, and no other.
TEST(Validator, GroupRunsItsOwnCasesOnly) {
  ScratchFolder scratch;
  const ProgramRun run = RunProgram({"validate", "--level", "1", "--group", "threads", "--json", scratch.Path("report.json")});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const json report = json::parse(SchemaCheckedFile(scratch.Path("report.json")));
  std::set<std::string> names;
  for (const json& c : report.at("cases")) {
    names.insert(c.at("name").get<std::string>());
    EXPECT_EQ(c.at("level"), 1) << c.dump();
    EXPECT_EQ(c.at("status"), "passed") << c.dump();
    const json& needs = c.at("requires");
    EXPECT_NE(std::find(needs.begin(), needs.end(), "symbol-table"), needs.end()) << c.dump();
    EXPECT_FALSE(c.contains("missing")) << c.dump();
  }
  EXPECT_EQ(names, (std::set<std::string>{"threads.main-thread-at-once", "threads.jobs-while-recounting"}));
}

// Plug-ins that each break the host's contract in one way: the validator catches
// every one, with the status and the reason that fit, and says how to reproduce it.
TEST(Validator, CatchesEveryMisbehavingPlugin) {
  struct Fixture {
    std::string name, status, reason;
  };
  const std::vector<Fixture> fixtures = {
      {"crash_at_start", "crashed", ""},  // a signal, or the sanitizer's own exit
      {"crash_while_loading", "crashed", ""},
      {"crash_at_end", "crashed", ""},
      {"not_a_plugin", "failed", "the plug-in exports no plugin_main"},
      {"leak_at_start", "failed", "the plug-in still holds memory block of 64 bytes"},
      {"release_prototype", "failed", "freed null-pointer error prototype"},
      {"unserved_entry", "failed", "t_HostOS_Ge offset 8"},
      // These two act on the active object as the plug-in ends: a case that unloads
      // with a scene open catches them.
      {"free_scene_object", "failed", "(FreeObject): argument 'object' is an object of the scene, which belongs to a document"},
      {"free_result_twice", "failed", "(FreeObject): the plug-in released editable copy"},
      {"unpublished_interface", "failed", "net.hostapp.profiler, an interface the kernel does not publish"},
      {"leak_string", "failed", "the plug-in still holds string \"\" #"},
      // The address sanitizer reports the write itself and ends the case's process.
      kAddressSanitizer ? Fixture{"write_past_block", "crashed", ""}
                        : Fixture{"write_past_block", "failed", "wrote past the end of memory block of 16 bytes"},
      {"recursive_diagnostic", "failed", "net.hostapp.stringconversion.FormatMessage: runaway recursion"},
  };
  for (const Fixture& fixture : fixtures) {
    ScratchFolder scratch;
    const std::string folder = std::string(STATLUME_FIXTURE_ROOT) + "/" + fixture.name;
    const ProgramRun run = RunProgram({"validate", "--level", "1", "--json", scratch.Path("report.json"), folder});
    EXPECT_EQ(run.status, 1) << fixture.name << "\n" << run.out;
    const json report = json::parse(SchemaCheckedFile(scratch.Path("report.json")));
    EXPECT_GT(report.at("failed").get<int>(), 0) << fixture.name;
    bool caught = false;
    for (const json& c : report.at("cases")) {
      if (c.at("status") != fixture.status) continue;
      caught = caught || c.at("detail").get<std::string>().find(fixture.reason) != std::string::npos;
      EXPECT_EQ(c.at("reproduce"), "statlume-host validate --case " + c.at("name").get<std::string>() +
                                       " --seed 1 --level 1 " + folder);
    }
    EXPECT_TRUE(caught) << fixture.name << ": no case " << fixture.status << " with '" << fixture.reason << "'\n"
                        << run.out;
  }
}
