// A run over several files on a terminal: a progress line on the standard error
// for a run longer than a second, rewritten in place and gone before each row and
// at the end.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

const std::string kSolid = STATLUME_SOURCE_DIR "/testhost/import/testdata/solid.stl";
const std::string kMarked = STATLUME_FIXTURE_ROOT "/marked_files";
const std::string kErase = "\r\x1b[K";

struct TerminalRun {
  bool started = false;
  int status = -1;
  std::string seen;  // everything written to the terminal, line ends as it writes them
};

// Runs the program with a pseudo-terminal as its standard input, output and error.
TerminalRun OnTerminal(const std::vector<std::string>& arguments) {
  TerminalRun run;
  std::vector<std::string> words = {STATLUME_HOST_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int fd = -1;
  const pid_t pid = forkpty(&fd, nullptr, nullptr, nullptr);
  if (pid < 0) return run;
  if (pid == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  run.started = true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;  // the program has ended: the terminal is hung up
    run.seen.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Copy(const ScratchFolder& scratch, const std::string& name) {
  fs::copy_file(kSolid, scratch.Path(name));
  return scratch.Path(name);
}

}  // namespace

TEST(ProgramBatchTerminal, ProgressLineWhileALongRunGoesOn) {
  ScratchFolder scratch;
  const std::string quick = Copy(scratch, "quick.stl"), slow = Copy(scratch, "slow-here.stl");
  const TerminalRun run = OnTerminal({"--plugins", kMarked, "-j", "1", quick, slow});
  if (!run.started) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  EXPECT_EQ(run.status, 0) << run.seen;
  const std::string progress = kErase + "statlume-host: 1 of 2 files counted, 1 running";
  const std::size_t shown = run.seen.find(progress);
  ASSERT_NE(shown, std::string::npos) << run.seen;
  EXPECT_LT(run.seen.find(quick + " "), shown) << "the quick file's row came before";
  const std::size_t erased = run.seen.find(kErase, shown + progress.size());
  ASSERT_NE(erased, std::string::npos) << "the line is taken away";
  EXPECT_EQ(run.seen.find("statlume-host: ", erased), std::string::npos) << "and not drawn again";
  EXPECT_EQ(run.seen.find(slow + " "), erased + kErase.size()) << "the slow file's row takes its place";
  EXPECT_NE(run.seen.find("2 files: 2 ok"), std::string::npos);
}

TEST(ProgramBatchTerminal, NoProgressLineForAShortRun) {
  ScratchFolder scratch;
  const TerminalRun run = OnTerminal({Copy(scratch, "a.stl"), Copy(scratch, "b.stl")});
  if (!run.started) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  EXPECT_EQ(run.status, 0) << run.seen;
  EXPECT_EQ(run.seen.find("files counted"), std::string::npos) << run.seen;
  EXPECT_EQ(run.seen.find('\x1b'), std::string::npos) << run.seen;
}
