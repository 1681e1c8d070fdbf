// The structure of the code, held where a change could quietly undo it: the
// folders depend one way, and only the units that drive the whole test host read
// its header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "include_graph.h"

namespace {

const std::vector<std::string> kIncludeFolders = {
    "testhost/include",      "testhost/cli",          "testhost/cli/validate", "testhost/cli/batch",
    "testhost/import",       "testhost/src/tables",   "frameworks/core.framework/source/core",
    "frameworks/host/source", "frameworks/core.framework/generated/hxx", "plugins/statlume/source"};

IncludeGraph Tree() { return IncludeGraph(STATLUME_SOURCE_DIR, {"frameworks", "plugins", "testhost"}, kIncludeFolders); }

}  // namespace

TEST(Folders, DependOneWay) { EXPECT_EQ(Tree().FolderCycle(), ""); }

// The test host's parts take what they use; the header of the whole host is for
// the units that drive it (the host itself, the sweeps, the command-line host).
TEST(Folders, FewTestHostUnitsReadTheWholeHost) {
  const IncludeGraph tree = Tree();
  std::size_t units = 0;
  std::vector<std::string> reading;
  for (const std::string& file : tree.Files()) {
    if (file.rfind("testhost/", 0) != 0 || file.size() < 4 || file.substr(file.size() - 4) != ".cpp") continue;
    ++units;
    if (tree.Closure(file).count("testhost/include/testhost/host.h") != 0) reading.push_back(file);
  }
  ASSERT_GT(units, 40u);
  std::string names;
  for (const std::string& file : reading) names += "\n  " + file;
  EXPECT_LE(reading.size() * 4, units) << reading.size() << " of " << units << " units read host.h:" << names;
  // None of the served entries and methods, nor the models, needs the whole host.
  for (const std::string& file : reading)
    for (const char* part : {"testhost/src/tables/", "testhost/src/framework/", "testhost/src/models/",
                             "testhost/src/kernel/"})
      EXPECT_NE(file.rfind(part, 0), 0u) << file;
}

// The bare host answers without the checks that make a wrong plug-in fail: only the
// benchmarks switch it on (and its own test), never the program or another test.
TEST(Folders, OnlyBenchmarksAnswerBare) {
  const std::filesystem::path top = STATLUME_SOURCE_DIR;
  const std::set<std::string> allowed = {"testhost/include/testhost/host.h", "testhost/src/host.cpp",
                                         "tests/unit/testhost_bare_answers_test.cpp", "tests/layout/folders_test.cpp"};
  std::vector<std::string> callers;
  for (const char* folder : {"testhost", "tests", "plugins", "frameworks"})
    for (const auto& entry : std::filesystem::recursive_directory_iterator(top / folder)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      const std::string file = entry.path().lexically_relative(top).generic_string();
      std::ifstream in(entry.path());
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (text.find("SetBareAnswers(") != std::string::npos && allowed.count(file) == 0) callers.push_back(file);
    }
  EXPECT_TRUE(callers.empty()) << callers.size() << " files outside bench/ switch to the bare host, first "
                               << (callers.empty() ? "" : callers.front());
}
