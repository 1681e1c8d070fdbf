// statlume-host --json for programs: counts as numbers beside the texts shown,
// and every way a run can fail ending in one error object. (RunProgram checks
// each output against the schema, and that a failed run's last line is its error
// object with its status and message.)
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "run_program.h"
#include "testhost/sanitizers.h"

using nlohmann::json;

namespace {

const std::string kScenes = STATLUME_SOURCE_DIR "/testhost/scenes";
const std::string kFixtures = STATLUME_FIXTURE_ROOT;

std::vector<json> Documents(const std::string& out) {
  std::vector<json> documents;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) documents.push_back(json::parse(line));
  return documents;
}

json ErrorOf(const ProgramRun& run) {
  const std::vector<json> documents = Documents(run.out);
  return documents.empty() ? json() : documents.back();
}

}  // namespace

// The numbers are the fields' texts read as numbers; a paused dialog greys them
// and keeps them; a closed one has no fields.
TEST(ProgramJson, CountsAsNumbersBesideTheTexts) {
  ScratchFolder scratch;
  const std::string script = scratch.Write("s.script", "edit Scan-Points points 1234567\nselect Scan-Points\npause on\nclose\n");
  const ProgramRun run = RunProgram({"--json", "--script", script, kScenes + "/default.scene"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> states = Documents(run.out);
  ASSERT_EQ(states.size(), 5u);
  const json& robot = states[0].at("fields");
  EXPECT_EQ(robot.at("polygons").at("currentCount"), 20);
  EXPECT_EQ(robot.at("polygons").at("editableCount"), 172);
  EXPECT_EQ(robot.at("objects").at("editableCount"), 4);
  for (const json& state : states)
    for (const auto& [row, field] : state.at("fields").items()) {
      EXPECT_EQ(field.at("currentCount").dump(), field.at("current").get<std::string>()) << row;
      EXPECT_EQ(field.at("editableCount").dump(), field.at("editable").get<std::string>()) << row;
    }
  const json& points = states[2].at("fields").at("points");
  EXPECT_EQ(points.at("current"), "1234567");
  EXPECT_EQ(points.at("currentCount"), 1234567);
  const json& paused = states[3].at("fields").at("points");
  EXPECT_TRUE(paused.at("greyed").get<bool>());
  EXPECT_EQ(paused.at("editableCount"), 1234567);
  EXPECT_EQ(states[4].at("dialog"), "closed");
  EXPECT_EQ(states[4].at("fields"), json::object());
}

// Names that are no UTF-8 (a Latin-1 file) still give JSON: such bytes become U+FFFD.
TEST(ProgramJson, NamesThatAreNoUtf8StillGiveJson) {
  ScratchFolder scratch;
  const std::string scene = scratch.Write("latin1.scene", "Caf\xe9 polygon 8 6 0\n");
  const ProgramRun run = RunProgram({"--json", scene});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out).at("object"), "Caf\xef\xbf\xbd");
}

// Bad input of every kind: the standard error's line, and the same as an error
// object on the standard output, naming the file where one is concerned.
TEST(ProgramJson, BadInputEndsInAnErrorObject) {
  ScratchFolder scratch;
  const std::string scene = kScenes + "/default.scene";
  const std::string badJson = scratch.Write("bad.json", "{\n  \"objects\": [\n    {\"name\": \"A\",, }\n]}\n");
  const std::string badScript = scratch.Write("bad.script", "pause on\nfly away\n");
  const std::string notAPlugin =
      kFixtures + "/not_a_plugin/" + std::filesystem::path(STATLUME_LIBRARY_FILE).filename().string();
  struct Case {
    std::vector<std::string> arguments;
    std::string error, file;  // file empty: none concerned
  };
  const std::vector<Case> cases = {
      {{"--frobnicate"}, "unknown option --frobnicate (see --help)", ""},
      {{"--interactive"}, "--interactive cannot be combined with --json or --script", ""},
      {{scratch.Path("missing.obj")}, scratch.Path("missing.obj") + ": no such file", scratch.Path("missing.obj")},
      {{badJson}, badJson + ":3: ", badJson},
      {{"--object", "Robot/Nose", scene}, scene + ": no object at path 'Robot/Nose'", scene},
      {{"--script", badScript, scene}, badScript + ":2: unknown event 'fly'", badScript},
      {{"--plugins", scratch.Path("nowhere")}, "plug-in folder " + scratch.Path("nowhere") + ": not a folder",
       scratch.Path("nowhere")},
      {{"--plugins", kFixtures + "/not_a_plugin"}, "plug-in " + notAPlugin + ": ", notAPlugin},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--json"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.status, 2) << c.error;
    ASSERT_EQ(Documents(run.out).size(), 1u) << "nothing but the error object:\n" << run.out;
    const json error = ErrorOf(run);
    EXPECT_EQ(error.at("status"), 2);
    EXPECT_EQ(error.at("error").get<std::string>().rfind(c.error, 0), 0u) << error.dump();
    if (c.file.empty()) {
      EXPECT_FALSE(error.contains("file")) << error.dump();
    } else {
      EXPECT_EQ(error.value("file", ""), c.file) << error.dump();
    }
  }
}

// A failure part way through a session comes after the states shown before it.
TEST(ProgramJson, ErrorObjectComesAfterTheStatesBeforeIt) {
  ScratchFolder scratch;
  const std::string script = scratch.Write("path.script", "pause on\nselect Robot/Nose\n");
  const ProgramRun run = RunProgram({"--json", "--script", script, kScenes + "/default.scene"});
  EXPECT_EQ(run.status, 2);
  const std::vector<json> documents = Documents(run.out);
  ASSERT_EQ(documents.size(), 3u) << run.out;
  EXPECT_EQ(documents[1].at("event"), "pause on");
  EXPECT_EQ(documents[2], (json{{"error", script + ":2: no object at path 'Robot/Nose'"}, {"status", 2}, {"file", script}}));
}

// The plug-in's failures: no command registered, faults the host recorded (after
// the session's states), a crash (the crash report with its status).
TEST(ProgramJson, PluginFailuresEndInAnErrorObjectWithStatusOne) {
  const ProgramRun none = RunProgram({"--json", "--plugins", STATLUME_UNKNOWN_LAYOUT_FOLDER});
  EXPECT_EQ(none.status, 1) << none.err;
  EXPECT_EQ(Documents(none.out).size(), 1u) << "no dialog, no state:\n" << none.out;
  EXPECT_EQ(ErrorOf(none).at("error"), "the plug-in registered no command");

  const ProgramRun faults = RunProgram({"--json", "--plugins", kFixtures + "/leak_at_start"});
  EXPECT_EQ(faults.status, 1);
  const std::vector<json> documents = Documents(faults.out);
  ASSERT_EQ(documents.size(), 2u) << faults.out;
  EXPECT_EQ(documents[0].at("event"), "open");
  const json& error = documents[1];
  EXPECT_EQ(error.at("error"), "the host recorded faults of the plug-in");
  ASSERT_FALSE(error.at("faults").empty());
  EXPECT_NE(error.at("faults")[0].get<std::string>().find("the plug-in still holds memory block of 64 bytes"),
            std::string::npos);
  EXPECT_NE(faults.err.find("\n  " + error.at("faults")[0].get<std::string>() + "\n"), std::string::npos) << faults.err;

  const ProgramRun crash = RunProgram({"--json", "--plugins", kFixtures + "/crash_at_start"});
  EXPECT_EQ(crash.status, 1);
  EXPECT_EQ(ErrorOf(crash).at("status"), 1);
  EXPECT_EQ(ErrorOf(crash).at("during"), "load");
}

// A file that needs more memory than the budget names the file.
TEST(ProgramJson, FileBeyondTheBudgetIsNamed) {
  if (testhost::kAddressSanitizer) GTEST_SKIP() << "the sanitizers' address space cannot be limited";
  const std::string huge = STATLUME_SOURCE_DIR "/tests/cli/data/huge_counts.ply";
  const ProgramRun run = RunProgram({"--json", "--max-memory", "512M", huge});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(ErrorOf(run), (json{{"error", huge + ": needs more memory than the budget of 512 MiB (--max-memory SIZE "
                                             "changes it)"},
                                {"status", 2},
                                {"file", huge}}));
}

// The JSON Schema's own checks: documents that break it are caught, so that the
// checks of every test above mean something.
TEST(ProgramJson, SchemaCatchesDocumentsThatBreakIt) {
  const ProgramRun run = RunProgram({"--json"});
  ASSERT_EQ(run.status, 0);
  json state = json::parse(run.out);
  EXPECT_EQ(SchemaProblems(state.dump()), "");
  std::vector<json> broken(6, state);
  broken[0]["fields"]["points"].erase("editableCount");
  broken[1]["fields"]["points"]["currentCount"] = "36";
  broken[2]["fields"].erase("objects");
  broken[3]["options"]["pause"] = "no";
  broken[4]["surprise"] = 1;
  broken[5] = json{{"error", "x"}, {"status", 3}};
  for (const json& document : broken) EXPECT_NE(SchemaProblems(document.dump()), "") << document.dump();
  EXPECT_NE(SchemaProblems("{\"error\": \"x\", \"status\": 2} not json"), "");
  EXPECT_NE(SchemaProblems(""), "") << "an output with no document";
  EXPECT_EQ(SchemaProblems(R"([{"path": "A", "depth": 0, "fields": {}}])"), "");
  EXPECT_NE(SchemaProblems(R"([{"path": "", "depth": 0, "fields": {}}])"), "");
}
