// statlume-host reading its scene or its script from the standard input ("-"):
// read by content as a file without an extension is, named "-" in what the
// program says, and nothing of it left in the temporary folder.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "run_program.h"

using nlohmann::json;

namespace {

const std::string kScenes = STATLUME_SOURCE_DIR "/testhost/scenes";
const std::string kTestdata = STATLUME_SOURCE_DIR "/testhost/import/testdata";

std::string FileText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<json> Documents(const std::string& out) {
  std::vector<json> documents;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) documents.push_back(json::parse(line));
  return documents;
}

}  // namespace

// Scenes of every reader through the standard input: the counts of the file read
// by its name; a 3D file's top-level object is called stdin.
TEST(ProgramInput, SceneFromTheStandardInput) {
  ScratchFolder scratch;
  struct Case {
    std::string file, object;  // the active object the standard input's copy shows
  };
  const std::vector<Case> cases = {
      {kScenes + "/default.scene", "Robot"},
      {kScenes + "/default.json", "Robot"},
      {kTestdata + "/shapes.obj", "stdin"},
      {"/usr/share/assimp/models/PLY/cube_binary.ply", "stdin"},  // binary: every byte comes through
  };
  for (const Case& c : cases) {
    const ProgramRun named = RunProgram({"--json", c.file});
    const ProgramRun piped = RunProgram({"--json", "-"}, RunSettings{FileText(c.file), scratch.Folder("tmp"), 0});
    ASSERT_EQ(piped.status, 0) << c.file << ": " << piped.err;
    const json state = json::parse(piped.out);
    EXPECT_EQ(state.at("scene"), "-");
    EXPECT_EQ(state.at("object"), c.object) << c.file;
    EXPECT_EQ(state.at("fields"), json::parse(named.out).at("fields")) << c.file;
    EXPECT_TRUE(scratch.Listing("tmp").empty()) << c.file << ": the copy is left behind";
  }
  // The tree of a piped file names its objects by the paths --object takes.
  const ProgramRun shapes = RunProgram({"--json", "--tree", "-"}, FileText(kTestdata + "/shapes.obj"));
  ASSERT_EQ(shapes.status, 0) << shapes.err;
  EXPECT_EQ(json::parse(shapes.out).at(0).at("path"), "stdin");
  const ProgramRun text = RunProgram({"-"}, FileText(kScenes + "/default.scene"));
  EXPECT_NE(text.out.find("  scene:   -\n"), std::string::npos) << text.out;
}

// What is wrong with the standard input is said of "-", and its copy goes.
TEST(ProgramInput, BadStandardInputIsNamedDash) {
  ScratchFolder scratch;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "-: the file is empty"},
      {"nothing any reader knows\n", "-: not a scene or 3D file the program knows by its content"},
      {"{\n  \"objects\": [\n    {\"name\": \"A\",, }\n]}\n", "-:3: "},
      {"A polygon 8 -6 0\n", "-:1: "},
  };
  for (const auto& [input, message] : cases) {
    const ProgramRun run = RunProgram({"--json", "-"}, RunSettings{input, scratch.Folder("tmp"), 0});
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_EQ(run.err.rfind("statlume-host: " + message, 0), 0u) << run.err;
    EXPECT_EQ(Documents(run.out).back().value("file", ""), "-");
    EXPECT_TRUE(scratch.Listing("tmp").empty()) << message;
  }
  const ProgramRun path = RunProgram({"--json", "--object", "Nose", "-"}, FileText(kScenes + "/default.scene"));
  EXPECT_EQ(path.status, 2);
  EXPECT_EQ(path.err, "statlume-host: -: no object at path 'Nose'\n");
}

TEST(ProgramInput, ScriptFromTheStandardInput) {
  const ProgramRun run = RunProgram({"--json", "--script", "-"}, "pause on\n# a comment\nselect Floor\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<json> states = Documents(run.out);
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[1].at("event"), "pause on");
  EXPECT_EQ(states[2].at("line"), 3);
  EXPECT_EQ(states[2].at("object"), "Floor");

  const ProgramRun bad = RunProgram({"--json", "--script", "-"}, "pause on\nfly away\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "statlume-host: -:2: unknown event 'fly'\n");
  EXPECT_EQ(Documents(bad.out).back().value("file", ""), "-");
}

// One standard input: it cannot hold two things, nor the scene and typed events.
TEST(ProgramInput, StandardInputServesOneThing) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--script", "-", "-"}, "the scene and the script cannot both come from the standard input"},
      {{"--interactive", "-"}, "--interactive reads events from the standard input: the scene cannot come from it too"},
      {{"-", "-"}, "the standard input (-) holds one file: it cannot be combined with other files or a folder"},
  };
  for (const auto& [arguments, message] : cases) {
    const ProgramRun run = RunProgram(arguments, FileText(kScenes + "/default.scene"));
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_EQ(run.err, "statlume-host: " + message + "\n");
  }
}
