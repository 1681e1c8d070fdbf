// statlume-host validate --list: the validator describes its cases as a run takes
// them, the README names the same groups and requirements, and a case skipped for
// a requirement says which one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "run_program.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

json ListJson(std::vector<std::string> filters = {}) {
  filters.insert(filters.begin(), {"validate", "--list", "--json"});
  const ProgramRun run = RunProgram(filters);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(SchemaProblems(run.out), "");
  return json::parse(run.out);
}

std::vector<std::string> Names(const json& list) {
  std::vector<std::string> names;
  for (const json& c : list.at("cases")) names.push_back(c.at("name").get<std::string>());
  return names;
}

std::set<std::string> Strings(const json& array) {
  std::set<std::string> strings;
  for (const json& item : array) strings.insert(item.get<std::string>());
  return strings;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The names of the list that follows the line holding `intro` in the README's
// section `heading`: items "- `name`: ...", continued by indented lines, up to the
// blank line after them.
std::set<std::string> ReadmeList(const std::string& heading, const std::string& intro) {
  std::ifstream in(STATLUME_SOURCE_DIR "/README.md");
  std::set<std::string> names;
  bool inSection = false, afterIntro = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("#", 0) == 0) {
      if (inSection) break;
      inSection = line.find(heading) != std::string::npos;
      continue;
    }
    if (!inSection) continue;
    if (!afterIntro) {
      afterIntro = line.find(intro) != std::string::npos;
      continue;
    }
    if (line.empty()) {
      if (names.empty()) continue;
      break;
    }
    if (line.rfind("- `", 0) != 0) continue;
    const std::size_t end = line.find('`', 3);
    if (end != std::string::npos) names.insert(line.substr(3, end - 3));
  }
  return names;
}

const std::string kReadmeSection = "Validating a plug-in folder";

}  // namespace

// Every case described once: a unique name in its group, a level, a description
// and only requirements the list explains; the text list says the same, one case
// a line in the same order.
TEST(ValidatorList, DescribesEveryCaseOnce) {
  const json list = ListJson();
  std::set<std::string> requirements;
  for (const json& requirement : list.at("requirements")) {
    requirements.insert(requirement.at("name").get<std::string>());
    EXPECT_FALSE(requirement.at("description").get<std::string>().empty()) << requirement.dump();
  }
  std::set<std::string> names, groups;
  for (const json& c : list.at("cases")) {
    const std::string name = c.at("name").get<std::string>();
    EXPECT_TRUE(names.insert(name).second) << "listed twice: " << name;
    EXPECT_EQ(name.substr(0, name.find('.')), c.at("group")) << name;
    groups.insert(c.at("group").get<std::string>());
    EXPECT_GE(c.at("level").get<int>(), 1) << name;
    EXPECT_LE(c.at("level").get<int>(), 10) << name;
    EXPECT_TRUE(c.at("usesSeed").is_boolean()) << name;
    EXPECT_FALSE(c.at("description").get<std::string>().empty()) << name << " has no description";
    for (const std::string& requirement : Strings(c.at("requires")))
      EXPECT_EQ(requirements.count(requirement), 1u) << name << " needs '" << requirement << "', which is not listed";
  }
  EXPECT_EQ(Strings(list.at("groups")), groups);
  // A stripped library cannot reach the job code every thread case drives.
  for (const json& c : list.at("cases"))
    EXPECT_TRUE(c.at("group") != "threads" || Strings(c.at("requires")).count("symbol-table") == 1) << c.dump();

  const ProgramRun text = RunProgram({"validate", "--list"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::vector<std::string> lines = Lines(text.out);
  ASSERT_GE(lines.size(), list.at("cases").size());
  for (std::size_t i = 0; i < list.at("cases").size(); ++i) {
    const json& c = list.at("cases")[i];
    const std::string& line = lines[i];
    EXPECT_EQ(line.rfind(c.at("name").get<std::string>() + " ", 0), 0u) << line;
    EXPECT_NE(line.find(" " + c.at("group").get<std::string>() + " "), std::string::npos) << line;
    EXPECT_NE(line.find("from level " + std::to_string(c.at("level").get<int>())), std::string::npos) << line;
    EXPECT_NE(line.find(c.at("usesSeed").get<bool>() ? " seeded " : " fixed "), std::string::npos) << line;
    for (const std::string& requirement : Strings(c.at("requires")))
      EXPECT_NE(line.find(requirement), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - c.at("description").get<std::string>().size()), c.at("description")) << line;
  }
}

// --group, --case and --level choose what --list shows as they choose what a run
// takes; without --level every level is listed.
TEST(ValidatorList, FiltersAsARunDoes) {
  EXPECT_EQ(Names(ListJson({"--group", "threads", "--level", "1"})),
            (std::vector<std::string>{"threads.main-thread-at-once", "threads.jobs-while-recounting"}));
  EXPECT_EQ(Names(ListJson({"--case", "scene.empty", "--level", "1"})), (std::vector<std::string>{"scene.empty"}));

  const json all = ListJson();
  const json quick = ListJson({"--level", "1"});
  std::set<int> levels;
  for (const json& c : all.at("cases")) levels.insert(c.at("level").get<int>());
  EXPECT_GT(levels.size(), 1u) << "the full list holds more than the quick level";
  std::vector<std::string> levelOne;
  for (const json& c : all.at("cases"))
    if (c.at("level") == 1) levelOne.push_back(c.at("name").get<std::string>());
  EXPECT_EQ(Names(quick), levelOne);
  const json scene = ListJson({"--group", "scene"});
  for (const json& c : scene.at("cases")) EXPECT_EQ(c.at("group"), "scene") << c.dump();
  // --skip leaves out a case, or a whole group, and nothing else.
  std::vector<std::string> kept;
  for (const json& c : quick.at("cases"))
    if (c.at("group") != "load" && c.at("name") != "scene.empty") kept.push_back(c.at("name").get<std::string>());
  EXPECT_EQ(Names(ListJson({"--level", "1", "--skip", "load", "--skip", "scene.empty"})), kept);

  ScratchFolder scratch;
  const ProgramRun toFile = RunProgram({"validate", "--list", "--json", scratch.Path("list.json"), "--level", "1"});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  EXPECT_TRUE(toFile.out.empty()) << toFile.out;
  EXPECT_EQ(json::parse(SchemaCheckedFile(scratch.Path("list.json"))), quick);

  for (const auto& [arguments, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"validate", "--list", "--group", "nosuch"}, "no group named nosuch"},
           {{"validate", "--list", "--case", "no.such"}, "no case named no.such"},
           {{"validate", "--list", "--skip", "no.such"}, "no case or group named no.such"},
           {{"validate", "--list", "--group", "tables", "--level", "1"}, "no case of group tables runs at level 1"}}) {
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

TEST(ValidatorList, HelpNamesIt) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--help"},
                                                     std::vector<std::string>{"validate", "--help"}}) {
    const ProgramRun help = RunProgram(arguments);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("validate --list"), std::string::npos) << help.out;
  }
}

// The README's lists of groups and of requirements are the program's.
TEST(ValidatorList, ReadmeNamesEveryGroupAndRequirement) {
  const json list = ListJson();
  const std::set<std::string> groups = ReadmeList(kReadmeSection, "The groups:");
  EXPECT_EQ(groups, Strings(list.at("groups"))) << "the README's groups differ from validate --list --json";
  std::set<std::string> requirements;
  for (const json& requirement : list.at("requirements")) requirements.insert(requirement.at("name").get<std::string>());
  EXPECT_EQ(ReadmeList(kReadmeSection, "The requirements:"), requirements)
      << "the README's requirements differ from validate --list --json";
}

// A stripped library keeps no symbol table: every thread case is skipped, and
// says so in its line and in the report.
TEST(ValidatorList, SkippedCaseNamesItsMissingRequirement) {
  ScratchFolder scratch;
  const std::string folder = scratch.Path("stripped");
  fs::copy(STATLUME_PLUGIN_DIR, folder, fs::copy_options::recursive);
  const std::string library = folder + "/" + fs::path(STATLUME_LIBRARY_FILE).filename().string();
  ASSERT_TRUE(fs::exists(library)) << library;
  const ProgramRun strip = RunCommand({STATLUME_STRIP, library});
  ASSERT_EQ(strip.status, 0) << strip.err;

  const ProgramRun run =
      RunProgram({"validate", "--level", "2", "--group", "threads", "--json", scratch.Path("report.json"), folder});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const json report = json::parse(SchemaCheckedFile(scratch.Path("report.json")));
  ASSERT_EQ(report.at("cases").size(), 5u);
  EXPECT_EQ(report.at("skipped"), 5);
  for (const json& c : report.at("cases")) {
    EXPECT_EQ(c.at("status"), "skipped") << c.dump();
    EXPECT_EQ(c.at("missing"), json::array({"symbol-table"})) << c.dump();
    EXPECT_NE(c.at("detail").get<std::string>().find("missing requirement symbol-table: "), std::string::npos)
        << c.dump();
    EXPECT_NE(run.out.find("skipped  " + c.at("name").get<std::string>() + ": missing requirement symbol-table"),
              std::string::npos)
        << run.out;
  }
  EXPECT_NE(run.out.find("0 passed, 0 failed, 5 skipped\n"), std::string::npos) << run.out;
}
