// statlume-host on several files and folders: a row per file, each counted in a
// process of its own, so that a bad file or one whose run crashes fails in its
// row while the others are counted; the exit status the worst of the files.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "run_program.h"
#include "testhost/sanitizers.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const std::string kTestData = STATLUME_SOURCE_DIR "/testhost/import/testdata";
const std::string kScenes = STATLUME_SOURCE_DIR "/testhost/scenes";
// The real plug-in, misbehaving on files named crash-here, killed-here or slow-here.
const std::string kMarked = STATLUME_FIXTURE_ROOT "/marked_files";

// Counts worked out by hand (tests/import): Polygons, Points, N-Gons, Objects,
// each Current then Editable.
const std::string kSolidCounts = "6 6 5 5 0 0 1 1";
const std::string kGroupsCounts = "8 8 26 26 1 1 7 6";
const std::string kDefaultSceneCounts = "20 172 36 176 3 3 6 4";

std::string Copy(const ScratchFolder& scratch, const std::string& from, const std::string& name) {
  fs::copy_file(from, scratch.Path(name), fs::copy_options::overwrite_existing);
  return scratch.Path(name);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The text table's row of a file: the words after its name, spaces closed up.
std::string TextRow(const std::string& out, const std::string& file) {
  for (const std::string& line : Lines(out)) {
    if (line.rfind(file + " ", 0) != 0) continue;
    std::istringstream words(line.substr(file.size()));
    std::string row;
    for (std::string word; words >> word;) row += (row.empty() ? "" : " ") + word;
    return row;
  }
  return "(no row for " + file + ")";
}

// The processes whose command line holds `text`, ended as they are counted.
int ProcessesNaming(const std::string& text) {
  int found = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (line.find(text) == std::string::npos) continue;
    ++found;
    kill(std::stoi(pid), SIGKILL);
  }
  return found;
}

std::vector<json> Documents(const std::string& out) {
  std::vector<json> documents;
  for (const std::string& line : Lines(out)) documents.push_back(json::parse(line));
  return documents;
}

// A folder of models as a user keeps them: good files in it and in a subfolder, a
// broken one, one the plug-in crashes on, one whose process the system kills,
// and files of no format the program reads.
struct ModelFolder {
  ScratchFolder scratch;
  std::string root = scratch.Folder("models");
  ModelFolder() {
    scratch.Folder("models/parts");
    Copy(scratch, kTestData + "/groups.obj", "models/groups.obj");
    Copy(scratch, kTestData + "/solid.stl", "models/parts/solid.stl");
    Copy(scratch, kScenes + "/default.scene", "models/parts/robot.scene");
    Copy(scratch, kTestData + "/solid.stl", "models/crash-here.stl");
    Copy(scratch, kTestData + "/solid.stl", "models/killed-here.STL");
    scratch.Write("models/broken.obj", "v 0 0 0\nf 1 2 9\n");
    scratch.Write("models/notes.txt", "not a model\n");
    scratch.Write("models/groups.mtl", "newmtl unused\n");
  }
  std::string File(const std::string& name) const { return root + "/" + name; }
};

}  // namespace

// Every file of the folder gets its row, sorted by path; the crashes and the bad
// file fail in their own rows.
TEST(ProgramBatch, FolderRowsWithCrashesAndABadFile) {
  const ModelFolder models;
  const ProgramRun run = RunProgram({"--plugins", kMarked, "-j", "2", models.root});
  EXPECT_EQ(run.status, 1) << "a crash is the worst a file can end in\n" << run.err;
  EXPECT_EQ(run.err, "") << "the rows say what failed; no progress line off a terminal";
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 10u) << run.out;
  EXPECT_NE(lines[0].find("Polygons"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("File ", 0), 0u) << lines[1];
  const std::vector<std::string> order = {"broken.obj", "crash-here.stl", "groups.obj", "killed-here.STL",
                                          "parts/robot.scene", "parts/solid.stl"};
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(lines[2 + i].rfind(models.File(order[i]) + " ", 0), 0u) << "row " << i << ": " << lines[2 + i];
  EXPECT_EQ(TextRow(run.out, models.File("groups.obj")), kGroupsCounts);
  EXPECT_EQ(TextRow(run.out, models.File("parts/solid.stl")), kSolidCounts);
  EXPECT_EQ(TextRow(run.out, models.File("parts/robot.scene")), kDefaultSceneCounts);
  EXPECT_EQ(TextRow(run.out, models.File("crash-here.stl")),
            "crashed: the plug-in " + kMarked + "/statlume" + fs::path(STATLUME_LIBRARY_FILE).extension().string() +
                " crashed (SIGSEGV, segmentation fault) while the host was loading it");
  EXPECT_EQ(TextRow(run.out, models.File("killed-here.STL")), "crashed: its process was ended by SIGKILL (Killed)");
  const ProgramRun brokenAlone = RunProgram({models.File("broken.obj")});
  EXPECT_EQ(brokenAlone.status, 2);
  EXPECT_EQ("statlume-host: " + models.File("broken.obj") + ": " +
                TextRow(run.out, models.File("broken.obj")).substr(std::string("bad input: ").size()) + "\n",
            brokenAlone.err)
      << "the reason the file alone gives";
  EXPECT_EQ(lines.back(), "6 files: 3 ok, 1 bad input, 2 crashed");
}

// With --json: per file the state document a single file gives, with "file", or
// an error object naming the file and the status it leads to.
TEST(ProgramBatch, JsonDocumentPerFile) {
  const ModelFolder models;
  const ProgramRun run = RunProgram({"--json", "--plugins", kMarked, models.root});
  EXPECT_EQ(run.status, 1) << run.err;
  const std::vector<json> documents = Documents(run.out);
  ASSERT_EQ(documents.size(), 6u) << run.out;
  std::map<std::string, json> byName;
  for (const json& document : documents)
    byName[fs::path(document.at("file").get<std::string>()).filename().string()] = document;

  const json& groups = byName.at("groups.obj");
  const ProgramRun alone = RunProgram({"--json", "--plugins", kMarked, models.File("groups.obj")});
  json expected = Documents(alone.out).at(0);
  expected["file"] = models.File("groups.obj");
  EXPECT_EQ(groups, expected) << "the single file's document, and its file";

  const json& crash = byName.at("crash-here.stl");
  EXPECT_EQ(crash.at("status"), 1);
  EXPECT_EQ(crash.at("signal"), "SIGSEGV");
  EXPECT_EQ(crash.at("during"), "load");
  EXPECT_NE(crash.at("error").get<std::string>().find("crashed (SIGSEGV"), std::string::npos);
  const json& killed = byName.at("killed-here.STL");
  EXPECT_EQ(killed.at("signal"), "SIGKILL");
  EXPECT_EQ(killed.at("status"), 1);
  EXPECT_EQ(killed.at("plugin"), kMarked + "/statlume" + fs::path(STATLUME_LIBRARY_FILE).extension().string());
  const json& broken = byName.at("broken.obj");
  EXPECT_EQ(broken.at("status"), 2);
  EXPECT_EQ(broken.at("file"), models.File("broken.obj"));
  const ProgramRun brokenAlone = RunProgram({models.File("broken.obj")});
  EXPECT_EQ("statlume-host: " + broken.at("error").get<std::string>() + "\n", brokenAlone.err)
      << "the message the file alone gives";
}

// The exit status is the worst of the files': a fault of the plug-in (1) over bad
// input (2) over success (0).
TEST(ProgramBatch, ExitStatusIsTheWorstOfTheFiles) {
  ScratchFolder scratch;
  const std::string good = Copy(scratch, kTestData + "/solid.stl", "good.stl");
  const std::string crash = Copy(scratch, kTestData + "/solid.stl", "crash-here.stl");
  const std::string bad = scratch.Write("bad.scene", "A polygon 8 -6 0\n");
  const std::string empty = scratch.Folder("empty");
  scratch.Write("empty/readme.txt", "nothing to count\n");
  struct Case {
    std::vector<std::string> files;
    int status;
  };
  const std::vector<Case> cases = {{{good, good}, 0},         {{good, bad}, 2},         {{bad, good}, 2},
                                   {{bad, crash, good}, 1},   {{crash, bad}, 1},        {{good, empty}, 2}};
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--plugins", kMarked};
    arguments.insert(arguments.end(), c.files.begin(), c.files.end());
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.status, c.status) << run.out;
  }
  const ProgramRun folder = RunProgram({good, empty});
  EXPECT_EQ(TextRow(folder.out, empty), "bad input: holds no file the program reads");

  // A plug-in the host records faults of fails every file's row with status 1.
  const ProgramRun leaking = RunProgram({"--plugins", STATLUME_FIXTURE_ROOT "/leak_at_start", good, bad});
  EXPECT_EQ(leaking.status, 1);
  EXPECT_EQ(TextRow(leaking.out, good).rfind("plug-in fault: the host recorded faults of the plug-in: ", 0), 0u)
      << leaking.out;
}

// Rows come in the order of the files, whichever process ends first, and as many
// processes as -j says give the same output.
TEST(ProgramBatch, RowsInTheOrderGivenWhateverTheJobs) {
  ScratchFolder scratch;
  const std::vector<std::string> files = {Copy(scratch, kTestData + "/groups.obj", "groups.obj"),
                                          scratch.Write("bad.obj", "f 1 2 3\n"),
                                          Copy(scratch, kScenes + "/default.scene", "robot.scene"),
                                          Copy(scratch, kTestData + "/solid.stl", "solid.stl")};
  for (const std::vector<std::string>& output : {std::vector<std::string>{}, {"--json"}, {"--csv"}}) {
    std::string first;
    for (const char* jobs : {"1", "2", "4"}) {
      std::vector<std::string> arguments = {"-j", jobs};
      arguments.insert(arguments.end(), output.begin(), output.end());
      arguments.insert(arguments.end(), files.begin(), files.end());
      const ProgramRun run = RunProgram(arguments);
      EXPECT_EQ(run.status, 2) << run.err;
      if (first.empty()) first = run.out;
      EXPECT_EQ(run.out, first) << "-j " << jobs;
    }
  }
  const std::string slow = Copy(scratch, kTestData + "/solid.stl", "slow-here.stl");
  const ProgramRun run = RunProgram({"--plugins", kMarked, "--jobs", "2", "--json", slow, files[0]});
  const std::vector<json> documents = Documents(run.out);
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[0].at("file"), slow) << "the slow file's row comes first";
  EXPECT_EQ(documents[1].at("file"), files[0]);
}

// One file alone keeps the output it always had; --csv and --tsv make a row of it.
TEST(ProgramBatch, OneFileAloneIsTheDialog) {
  const std::string solid = kTestData + "/solid.stl";
  const ProgramRun alone = RunProgram({solid});
  EXPECT_EQ(alone.status, 0);
  EXPECT_NE(alone.out.find("| Polygons             6           6"), std::string::npos) << alone.out;
  const ProgramRun row = RunProgram({"--csv", solid});
  EXPECT_EQ(row.out, std::string("file,status,polygons_current,polygons_editable,points_current,points_editable,"
                                 "ngons_current,ngons_editable,objects_current,objects_editable,error\r\n") +
                         solid + ",ok,6,6,5,5,0,0,1,1,\r\n");
}

// The dialog's options reach every file's process, as the file alone takes them.
TEST(ProgramBatch, DialogOptionsApplyToEveryFile) {
  const std::string groups = kTestData + "/groups.obj";
  const ProgramRun off = RunProgram({"--csv", "--children", "off", groups, groups});
  EXPECT_EQ(off.status, 0) << off.err;
  EXPECT_EQ(Lines(off.out).at(2), groups + ",ok,1,1,4,4,0,0,1,1,\r");
  const ProgramRun nonpoly = RunProgram({"--json", "--nonpoly", "on", groups, groups});
  for (const json& document : Documents(nonpoly.out)) {
    EXPECT_TRUE(document.at("options").at("includeNonPoly").get<bool>());
    EXPECT_EQ(document.at("fields").at("objects").at("editableCount"), 7) << "the group without faces counts";
  }
}

// What concerns one file's session, or two outputs at once, is refused before
// anything runs, with one line and status 2.
TEST(ProgramBatch, OptionsForOneFileAreRefused) {
  const ModelFolder models;
  const std::string solid = kTestData + "/solid.stl", groups = kTestData + "/groups.obj";
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--object", "solid.stl", solid, groups}, "--object concerns the session of one file: it cannot be combined with several files or a folder"},
      {{"--script", kScenes + "/demo.script", models.root}, "--script concerns the session of one file"},
      {{"--png", models.scratch.Path("d.png"), solid, groups}, "--png concerns the session of one file"},
      {{"--interactive", solid, groups}, "--interactive concerns the session of one file"},
      {{"--object", "solid.stl", "--csv", solid}, "--object concerns the session of one file: it cannot be combined with --csv or --tsv"},
      {{"--json", "--csv", solid, groups}, "--json, --csv and --tsv are different outputs"},
      {{"--csv", "--tsv", solid}, "--csv and --tsv: give one of them"},
      {{"--csv"}, "--csv and --tsv print a row per file: give FILE or FOLDER"},
      {{"-j", "0", solid, groups}, "-j takes the number of files counted at once, 1 to 256, not '0'"},
      {{"-j", "many", solid, groups}, "not 'many'"},
      {{"-j", "999", solid, groups}, "not '999'"},
      {{"-j4", solid, groups}, "unknown option -j4"},
      {{"--jobs"}, "option --jobs needs a value"},
      {{"--plugins", models.scratch.Path("nowhere"), solid, groups}, "not a folder"},
      {{"--tree", models.root}, "--tree concerns the session of one file"},
      {{"--json", "--tree", solid, groups}, "--tree concerns the session of one file"},
      {{"-", solid}, "the standard input (-) holds one file: it cannot be combined with other files or a folder"},
      {{"--csv", "-"}, "the standard input (-) holds one file: it cannot be combined with --csv or --tsv"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.status, 2) << c.message << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << "expected '" << c.message << "' in: " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    // With --json the error object too (RunProgram checks it).
    if (std::find(c.arguments.begin(), c.arguments.end(), "--json") == c.arguments.end()) {
      EXPECT_EQ(run.out, "");
    }
  }
}

// The memory budget is the whole run's: the files counted at once share it.
TEST(ProgramBatch, FilesCountedAtOnceShareTheBudget) {
  if (testhost::kAddressSanitizer) GTEST_SKIP() << "the sanitizers' address space cannot be limited";
  const std::string huge = STATLUME_SOURCE_DIR "/tests/cli/data/huge_counts.ply";
  const std::string solid = kTestData + "/solid.stl";
  const ProgramRun run = RunProgram({"--max-memory", "1G", "-j", "2", "--csv", huge, solid});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.out.find(huge + ": needs more memory than the budget of 512 MiB"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(solid + ",ok,6,6,5,5,0,0,1,1,"), std::string::npos) << run.out;
}

// A request to end the run ends the files' processes too, and nothing of them
// stays in the temporary folder.
TEST(ProgramBatch, InterruptedRunEndsItsProcesses) {
  ScratchFolder scratch;
  // The signal comes once the quick file's row is out, while the slow files'
  // processes hold their copies of the plug-in.
  const std::vector<std::string> arguments = {"--json", "-j", "3", "--plugins", kMarked,
                                              Copy(scratch, kTestData + "/solid.stl", "quick.stl"),
                                              Copy(scratch, kTestData + "/solid.stl", "slow-here-1.stl"),
                                              Copy(scratch, kTestData + "/solid.stl", "slow-here-2.stl")};
  for (int signal : {SIGINT, SIGTERM}) {
    const ProgramRun run = RunProgram(arguments, {"", scratch.Folder("tmp"), signal});
    EXPECT_EQ(run.signal, signal) << run.status << "\n" << run.out << run.err;
    EXPECT_EQ(Documents(run.out).size(), 1u) << run.out;
    EXPECT_EQ(ProcessesNaming(scratch.Path("slow-here")), 0) << "the slow files' processes live on";
    EXPECT_TRUE(scratch.Listing("tmp").empty()) << signal;
  }
}
