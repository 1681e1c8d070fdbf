// statlume-host shows what users hand it safely and says clearly what is wrong:
// control characters are escaped, numbers out of range say so, scripts with a
// byte-order mark and files without an extension are read, "--" ends the options,
// and the importer's own log lines stay out of the program's messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "run_program.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string kScenes = STATLUME_SOURCE_DIR "/testhost/scenes";
const std::string kTestdata = STATLUME_SOURCE_DIR "/testhost/import/testdata";

bool OneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

bool HasControl(const std::string& text) {
  for (char c : text)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) return true;
  return false;
}

std::string FileText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

json Counts(const std::string& out) {
  const json state = json::parse(out.substr(0, out.find('\n')));
  return state.at("fields");
}

}  // namespace

TEST(ProgramMessages, ControlCharactersAreEscaped) {
  ScratchFolder scratch;
  const std::string scene =
      scratch.Write("two\nlines\x1b[2J.scene", "Evil\x1b]0;title\x07 polygon 8 6 0\nactive Evil\x1b]0;title\x07\n");
  const ProgramRun run = RunProgram({scene});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(HasControl(run.out)) << run.out;
  EXPECT_NE(run.out.find("  scene:   " + scratch.Path("two\\nlines\\x1b[2J.scene") + "\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  active object: Evil\\x1b]0;title\\x07\n"), std::string::npos) << run.out;

  const ProgramRun missing = RunProgram({scratch.Path("gone\n\x1b[31mred.obj")});
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(OneLine(missing.err)) << missing.err;
  EXPECT_FALSE(HasControl(missing.err)) << missing.err;
  EXPECT_NE(missing.err.find("gone\\n\\x1b[31mred.obj: no such file"), std::string::npos) << missing.err;
}

TEST(ProgramMessages, NumbersOutOfRangeSaySo) {
  ScratchFolder scratch;
  const std::string scene = kScenes + "/default.scene";
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--script", scratch.Write("a.script", "edit Robot/Head segments 99999999999999999999\n"), scene},
       "a.script:1: count 99999999999999999999 is out of range (at most 2147483647)"},
      {{"--script", scratch.Write("b.script", "edit Robot/Head segments 2147483648\n"), scene},
       "count 2147483648 is out of range"},
      {{"--script", scratch.Write("c.script", "add point P -99999999999999999999\n"), scene}, "cannot be negative"},
      {{"--script", scratch.Write("d.script", "edit Robot/Head segments 12x\n"), scene}, "'12x' is not a number"},
      {{scratch.Write("e.json", "{\"objects\": [{\"name\": \"A\", \"kind\": \"point\", \"points\": 99999999999999999999}]}")},
       "\"points\" is too large"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << "expected '" << c.message << "' in: " << run.err;
  }
}

TEST(ProgramMessages, ScriptWithByteOrderMarkIsRead) {
  ScratchFolder scratch;
  const std::string script = scratch.Write("bom.script", "\xEF\xBB\xBFpause on\r\nchildren off\r\n");
  const ProgramRun run = RunProgram({"--json", "--script", script});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"event\":\"pause on\""), std::string::npos) << run.out;
}

TEST(ProgramMessages, SymbolicLinkLoopSaysSo) {
  ScratchFolder scratch;
  fs::create_symlink(scratch.Path("second"), scratch.Path("first"));
  fs::create_symlink(scratch.Path("first"), scratch.Path("second"));
  const std::string loop = scratch.Path("first");
  for (const auto& [arguments, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{loop}, loop + ": a loop of symbolic links"},
           {{"--script", loop}, loop + ": a loop of symbolic links"},
           {{"--plugins", loop}, "plug-in folder " + loop + ": a loop of symbolic links"}}) {
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
  }
}

TEST(ProgramMessages, DoubleDashEndsTheOptions) {
  ScratchFolder scratch;
  std::ofstream(scratch.Path("-dashed.scene")) << FileText(kScenes + "/default.scene");
  const ProgramRun refused = RunProgram({"-dashed.scene"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("unknown option -dashed.scene"), std::string::npos) << refused.err;
  // The name as a user types it, from the folder that holds it.
  const ProgramRun run = RunCommand({"/bin/sh", "-c", "cd \"$1\" && exec \"$2\" --json -- -dashed.scene", "sh",
                                     scratch.Path(""), STATLUME_HOST_PROGRAM});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(SchemaProblems(run.out), "");
  EXPECT_NE(run.out.find("\"scene\":\"-dashed.scene\""), std::string::npos) << run.out;
  const ProgramRun option = RunProgram({"--", "--json"});
  EXPECT_EQ(option.status, 2);
  EXPECT_NE(option.err.find("--json: no such file"), std::string::npos) << option.err;
}

// The importer prints some complaints of its own; the program's line comes alone.
TEST(ProgramMessages, ImporterLogLinesStayOut) {
  ScratchFolder scratch;
  const std::string file = scratch.Write("broken.ogex", "Metric {float {1.0}}}\n");
  const ProgramRun run = RunProgram({file});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_EQ(run.err.rfind("statlume-host: " + file + ": ", 0), 0u) << run.err;
  EXPECT_EQ(run.out, "");
}

// Without an extension a file is read by its content: the same counts as with one.
TEST(ProgramMessages, FileWithoutExtensionIsReadByContent) {
  ScratchFolder scratch;
  for (const std::string& file : {kScenes + "/default.scene", kScenes + "/default.json", kTestdata + "/shapes.obj"}) {
    const std::string bare = scratch.Write("bare", FileText(file));
    const ProgramRun named = RunProgram({"--json", file});
    const ProgramRun run = RunProgram({"--json", bare});
    ASSERT_EQ(run.status, 0) << file << ": " << run.err;
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(Counts(run.out), Counts(named.out)) << file;
  }
  const ProgramRun unknown = RunProgram({scratch.Write("noise", "nothing any reader knows\n")});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("noise: not a scene or 3D file the program knows by its content"), std::string::npos)
      << unknown.err;
}
