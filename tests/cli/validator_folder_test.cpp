// statlume-host validate --group folder: the files beside the library, as a full
// session reads them. Each broken folder fails in the case that reads the broken
// file, naming it, and only there; the real folder passes with something checked.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "run_program.h"

using nlohmann::json;

namespace {

json FolderReport(const std::string& folder, const ScratchFolder& scratch, ProgramRun& run) {
  run = RunProgram({"validate", "--group", "folder", "--json", scratch.Path("report.json"), folder});
  return json::parse(SchemaCheckedFile(scratch.Path("report.json")));
}

}  // namespace

TEST(ValidatorFolder, RealFolderPassesHavingCheckedEachFile) {
  ScratchFolder scratch;
  ProgramRun run;
  const json report = FolderReport(STATLUME_PLUGIN_DIR, scratch, run);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  std::map<std::string, json> figures;
  for (const json& c : report.at("cases")) {
    EXPECT_EQ(c.at("status"), "passed") << c.dump();
    figures[c.at("name").get<std::string>()] = c.at("figures");
  }
  ASSERT_EQ(figures.size(), 3u) << report.dump(2);
  // The name, the about text and the help text; the icon; the manual.
  EXPECT_EQ(figures["folder.strings"].at("resource folders"), 1);
  EXPECT_EQ(figures["folder.strings"].at("strings asked"), 3);
  EXPECT_EQ(figures["folder.icon"].at("images"), 1);
  EXPECT_EQ(figures["folder.icon"].at("icons"), 1);
  EXPECT_EQ(figures["folder.manual"].at("files opened"), 1);
}

TEST(ValidatorFolder, CatchesEachBrokenFile) {
  struct Broken {
    std::string name, failing, reason;
  };
  const std::vector<Broken> folders = {
      {"strings_garbage", "folder.strings", "res/strings.res does not read: line 1: not UTF-8 text"},
      {"strings_missing", "folder.strings", "res/strings.res has no string 10001, which the plug-in asks for"},
      {"strings_empty", "folder.strings", "res/strings.res: string 10002, which the plug-in asks for, is empty"},
      {"icon_cut_short", "folder.icon", "res/statlume.tif does not decode as an image"},
      {"icon_small", "folder.icon", "res/statlume.tif is 16x16 pixels at scale factor 1: the host shows it 32x32"},
      {"manual_missing", "folder.manual", "Statlume.pdf, which Help opens, is missing"},
      {"manual_not_pdf", "folder.manual", "Statlume.pdf, which Help opens, is not a PDF"},
  };
  for (const Broken& broken : folders) {
    ScratchFolder scratch;
    const std::string folder = std::string(STATLUME_FIXTURE_ROOT) + "/" + broken.name;
    ProgramRun run;
    const json report = FolderReport(folder, scratch, run);
    EXPECT_EQ(run.status, 1) << broken.name << "\n" << run.out;
    EXPECT_EQ(report.at("failed"), 1) << broken.name << "\n" << run.out;
    for (const json& c : report.at("cases")) {
      if (c.at("name") != broken.failing) {
        EXPECT_EQ(c.at("status"), "passed") << broken.name << ": " << c.dump();
        continue;
      }
      EXPECT_EQ(c.at("status"), "failed") << broken.name << ": " << c.dump();
      EXPECT_NE(c.at("detail").get<std::string>().find(broken.reason), std::string::npos)
          << broken.name << ": " << c.dump();
      EXPECT_EQ(c.value("reproduce", ""), "statlume-host validate --case " + broken.failing + " --seed 1 --level 1 " + folder);
    }
  }
}
