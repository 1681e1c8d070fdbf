// The timing report the import benchmark reads (STATLUME_HOST_TIMING): every phase
// of a run once, in the order the program runs them, each starting after the one
// before ended; and nothing of it in what the user sees.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "run_program.h"

namespace {

struct Phase {
  std::string name;
  double start = 0, end = 0;
  long peak = 0;
};

std::vector<Phase> ReadReport(const std::string& file) {
  std::vector<Phase> phases;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    Phase phase;
    std::istringstream fields(line);
    std::getline(fields, phase.name, '\t');
    fields >> phase.start >> phase.end >> phase.peak;
    EXPECT_TRUE(fields) << "not a phase line: " << line;
    phases.push_back(phase);
  }
  return phases;
}

TEST(ProgramTiming, PhasesOfAnImportInOrder) {
  ScratchFolder folder;
  const std::string model = folder.Write("quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
  const std::string report = folder.Path("timing.txt");
  const ProgramRun plain = RunProgram({model});
  setenv("STATLUME_HOST_TIMING", report.c_str(), 1);
  const ProgramRun timed = RunProgram({model});
  unsetenv("STATLUME_HOST_TIMING");
  ASSERT_EQ(timed.status, 0) << timed.err;
  EXPECT_EQ(timed.out, plain.out);
  EXPECT_EQ(timed.err, plain.err);

  const std::vector<Phase> phases = ReadReport(report);
  const std::vector<std::string> expected = {"plug-in load",  "import",        "position merge", "scene build",
                                             "plug-in start", "plug-in count", "plug-in unload"};
  ASSERT_EQ(phases.size(), expected.size());
  double before = 0;
  for (std::size_t i = 0; i < phases.size(); ++i) {
    EXPECT_EQ(phases[i].name, expected[i]);
    EXPECT_GE(phases[i].start, before) << phases[i].name << " starts before the phase before it ends";
    EXPECT_GE(phases[i].end, phases[i].start) << phases[i].name;
    EXPECT_GT(phases[i].peak, 0) << phases[i].name;
    before = phases[i].end;
  }
}

}  // namespace
