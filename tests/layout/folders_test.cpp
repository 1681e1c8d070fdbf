// The structure of the code, held where a change could quietly undo it: the
// folders depend one way, and only the units that drive the whole test host read
// its header.
#include <gtest/gtest.h>

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
