// statlume-host handed a plug-in that crashes, a file that is no plug-in, a folder
// of several, or stopped from outside: one clear line, the right status, and
// nothing left in the temporary folder.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "run_program.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string kFixtures = STATLUME_FIXTURE_ROOT;

std::string Fixture(const std::string& name) { return kFixtures + "/" + name; }

std::string LastLine(const std::string& text) {
  std::istringstream lines(text);
  std::string last;
  for (std::string line; std::getline(lines, line);) last = line;
  return last;
}

bool OneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

// A plug-in folder whose library file holds `content`.
std::string PluginFolder(const ScratchFolder& scratch, const std::string& name, const std::string& content) {
  const std::string folder = scratch.Folder(name);
  fs::create_directories(folder + "/res");
  std::ofstream(folder + "/" + fs::path(STATLUME_LIBRARY_FILE).filename().string(), std::ios::binary) << content;
  return folder;
}

std::string LibraryBytes() {
  std::ifstream in(STATLUME_LIBRARY_FILE, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

// The crash comes as the host starts the plug-in's units, while it loads it.
TEST(ProgramCrash, CrashingPluginIsNamedWithSignalAndActivity) {
  ScratchFolder scratch;
  const std::string plugin = Fixture("crash_at_start") + "/statlume" + fs::path(STATLUME_LIBRARY_FILE).extension().string();
  const ProgramRun text = RunProgram({"--plugins", Fixture("crash_at_start")}, {"", scratch.Folder("tmp"), 0});
  EXPECT_EQ(text.status, 1) << text.err;
  EXPECT_EQ(text.err, "statlume-host: the plug-in " + plugin +
                          " crashed (SIGSEGV, segmentation fault) while the host was loading it\n");
  EXPECT_TRUE(scratch.Listing("tmp").empty()) << "the library's copy is left behind";

  const ProgramRun structured = RunProgram({"--json", "--plugins", Fixture("crash_at_start")}, {"", scratch.Folder("tmp"), 0});
  EXPECT_EQ(structured.status, 1);
  const json error = json::parse(LastLine(structured.out));
  EXPECT_EQ(error.at("signal"), "SIGSEGV");
  EXPECT_EQ(error.at("during"), "load");
  EXPECT_EQ(error.at("plugin"), plugin);
  EXPECT_EQ(error.at("error").get<std::string>() + "\n", text.err.substr(std::string("statlume-host: ").size()));
  EXPECT_TRUE(scratch.Listing("tmp").empty());
}

// A crash late in the session leaves every state printed before it.
TEST(ProgramCrash, WhatWasPrintedBeforeTheCrashStays) {
  ScratchFolder scratch;
  const std::string script = scratch.Write("s.script", "pause on\nabout\n");
  const ProgramRun text = RunProgram({"--script", script, "--plugins", Fixture("crash_at_end")});
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.out.find("== 2: about"), std::string::npos) << text.out;
  EXPECT_NE(text.err.find("crashed (SIGSEGV, segmentation fault) while the host was unloading it"), std::string::npos)
      << text.err;
  EXPECT_TRUE(OneLine(text.err)) << text.err;

  const ProgramRun structured = RunProgram({"--json", "--script", script, "--plugins", Fixture("crash_at_end")});
  EXPECT_EQ(structured.status, 1);
  std::istringstream lines(structured.out);
  std::vector<json> documents;
  for (std::string line; std::getline(lines, line);) documents.push_back(json::parse(line));
  ASSERT_EQ(documents.size(), 4u) << structured.out;
  EXPECT_EQ(documents[2].at("event"), "about");
  EXPECT_EQ(documents[3].at("during"), "unload");
}

// Files that are no plug-in library are refused before anything of them runs; a
// library the loader refuses is refused with its reason.
TEST(ProgramCrash, NotAPluginLibraryIsRefused) {
  ScratchFolder scratch;
  const std::string library = LibraryBytes();
  ASSERT_GT(library.size(), 4096u);
  struct Case {
    std::string folder, reason;
  };
  const std::vector<Case> cases = {
      {PluginFolder(scratch, "truncated", library.substr(0, library.size() / 3)), "the file is cut short: it has " +
                                                                                    std::to_string(library.size() / 3) +
                                                                                    " bytes"},
      {PluginFolder(scratch, "text", "not a library\n"), "not a library: the file has no ELF header"},
      {PluginFolder(scratch, "header", library.substr(0, 40)), "the file is cut short: it has 40 bytes"},
      {Fixture("not_a_plugin"), "the plug-in exports no plugin_main"},
      {Fixture("unresolved_symbol"), "the loader refused it: undefined symbol: statlume_nowhere"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram({"--plugins", c.folder}, {"", scratch.Folder("tmp"), 0});
    EXPECT_EQ(run.status, 2) << c.folder << "\n" << run.err;
    EXPECT_NE(run.err.find("plug-in " + c.folder + "/statlume"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << "expected '" << c.reason << "' in: " << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(scratch.Listing("tmp").empty()) << c.folder;
  }
}

// A crash while the loader runs the library's initialisers comes before the host
// has removed its copy: the handler removes it.
TEST(ProgramCrash, CrashWhileLoadingLeavesNothing) {
  ScratchFolder scratch;
  const ProgramRun run = RunProgram({"--plugins", Fixture("crash_while_loading")}, {"", scratch.Folder("tmp"), 0});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("crashed (SIGSEGV, segmentation fault) while the host was loading it"), std::string::npos)
      << run.err;
  EXPECT_TRUE(scratch.Listing("tmp").empty());
}

TEST(ProgramCrash, FolderOfSeveralPluginsIsRefused) {
  const ProgramRun run = RunProgram({"--plugins", kFixtures});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("more than one plug-in library in " + kFixtures + " ("), std::string::npos) << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_EQ(run.out, "");
}

// Ctrl-C and a request to end (what a timeout sends) end the run by that signal,
// with the temporary folder as it was.
TEST(ProgramCrash, InterruptedRunLeavesNothing) {
  ScratchFolder scratch;
  std::string scene = "Root null\n", script;
  for (int i = 0; i < 2000; ++i) scene += "  Part" + std::to_string(i) + " polygon 8 6 0\n";
  for (int i = 0; i < 2000; ++i) script += "scene-change\n";
  const std::vector<std::string> arguments = {"--script", scratch.Write("long.script", script),
                                              scratch.Write("wide.scene", scene)};
  for (int signal : {SIGINT, SIGTERM}) {
    const ProgramRun run = RunProgram(arguments, {"", scratch.Folder("tmp"), signal});
    EXPECT_EQ(run.signal, signal) << run.status << "\n" << run.err;
    EXPECT_TRUE(scratch.Listing("tmp").empty()) << signal;
  }
}

TEST(ProgramCrash, MissingTemporaryFolderIsOneLine) {
  ScratchFolder scratch;
  const ProgramRun run = RunProgram({}, {"", scratch.Path("gone"), 0});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("the temporary folder " + scratch.Path("gone") + " (TMPDIR) does not exist"), std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("filesystem error"), std::string::npos) << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
}
