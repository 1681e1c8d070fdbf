// statlume-host and memory: a long session stays flat, and a small file that
// declares huge counts ends within the memory budget instead of taking the machine.
#include <gtest/gtest.h>

#include <string>

#include "run_program.h"
#include "testhost/sanitizers.h"

namespace {

const std::string kHugeCounts = STATLUME_SOURCE_DIR "/tests/cli/data/huge_counts.ply";

std::string WideScene(int objects) {
  std::string scene = "Root null\n";
  for (int i = 0; i < objects; ++i) scene += "  Part" + std::to_string(i) + " polygon 8 6 0\n";
  return scene;
}

std::string Recounts(int count) {
  std::string script;
  for (int i = 0; i < count; ++i) script += "scene-change\n";
  return script;
}

bool OneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

}  // namespace

// Every recount makes and frees an editable copy of the whole scene; what the host
// keeps of the freed ones, and of the calls, must not add up.
TEST(ProgramMemory, LongSessionStaysFlat) {
  if (testhost::kAddressSanitizer) GTEST_SKIP() << "the address sanitizer holds freed memory back";
  ScratchFolder scratch;
  const std::string scene = scratch.Write("wide.scene", WideScene(2000));
  const ProgramRun first = RunProgram({"--script", scratch.Write("once.script", Recounts(1)), scene});
  ASSERT_EQ(first.status, 0) << first.err;
  const ProgramRun long_ = RunProgram({"--script", scratch.Write("long.script", Recounts(1000)), scene});
  ASSERT_EQ(long_.status, 0) << long_.err;
  EXPECT_LT(long_.peakKilobytes, 2 * first.peakKilobytes)
      << "after one recount " << first.peakKilobytes << " KB, after 1000 " << long_.peakKilobytes << " KB";
}

// A PLY header of 176 bytes asks for 300 million points and faces.
TEST(ProgramMemory, HugeCountsEndWithinTheBudget) {
  if (testhost::kAddressSanitizer) GTEST_SKIP() << "the sanitizers' address space cannot be limited";
  const ProgramRun run = RunProgram({"--max-memory", "512M", kHugeCounts});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_NE(run.err.find(kHugeCounts + ": needs more memory than the budget of 512 MiB"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_LT(run.peakKilobytes, 512 * 1024);
}

// A budget leaves a usual session alone, in text and JSON.
TEST(ProgramMemory, UsualSessionRunsWithinASmallBudget) {
  for (const char* json : {"", "--json"}) {
    std::vector<std::string> arguments = {"--max-memory", "256M"};
    if (*json != '\0') arguments.push_back(json);
    const ProgramRun run = RunProgram(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
  }
}

TEST(ProgramMemory, BudgetSizesAreChecked) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"lots", "--max-memory takes a size such as 512M or 4G, or unlimited, not 'lots'"},
      {"12Q", "not '12Q'"},
      {"99999999999999999999999", "--max-memory 99999999999999999999999 is out of range"},
      {"20000000T", "--max-memory 20000000T is out of range"},
      {"100M", "--max-memory 100M is less than the program itself needs (256 MiB)"},
  };
  for (const auto& [size, message] : cases) {
    const ProgramRun run = RunProgram({"--max-memory", size});
    EXPECT_EQ(run.status, 2) << size;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_TRUE(OneLine(run.err)) << run.err;
  }
  for (const char* size : {"2G", "2gib", "3000000000", "unlimited"})
    EXPECT_EQ(RunProgram({"--max-memory", size}).status, 0) << size;
}
