// The terminal session, driven through a pseudo-terminal as a person types: the
// dialog follows the events, the editing keys edit, the arrows recall earlier
// lines, Tab completes; and the same session fed from a pipe reads plain lines.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "run_program.h"

extern char** environ;

namespace {

const std::string kPrompt = "statlume> ";
// The keys as a terminal sends them.
const std::string kLeft = "\x1b[D", kUp = "\x1b[A", kBackspace = "\x7f", kCtrlA = "\x01", kCtrlE = "\x05",
                  kTab = "\t";

class Terminal {
 public:
  // statlume-host --interactive [SCENE] on a terminal of its own, HOME being `home`.
  explicit Terminal(const std::string& home, const std::string& scene = "") {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
      const std::string text = *variable;
      if (text.rfind("HOME=", 0) != 0 && text.rfind("TERM=", 0) != 0) variables.push_back(text);
    }
    variables.push_back("HOME=" + home);
    variables.push_back("TERM=xterm");
    std::vector<std::string> words = {STATLUME_HOST_PROGRAM, "--interactive"};
    if (!scene.empty()) words.push_back(scene);
    winsize size{};
    size.ws_row = 40;
    size.ws_col = 100;
    pid_ = forkpty(&fd_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      std::vector<char*> argv, envp;
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      for (std::string& variable : variables) envp.push_back(variable.data());
      envp.push_back(nullptr);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
  }
  ~Terminal() {
    if (fd_ >= 0) close(fd_);
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool Started() const { return pid_ > 0; }
  void Type(const std::string& text) { ASSERT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size())); }
  // Reads until `text` has appeared since the last call, or ten seconds passed;
  // answers what came, up to and with `text`.
  std::string ReadUntil(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen_.find(text, from_) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd ready{fd_, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t got = read(fd_, buffer, sizeof(buffer));
      if (got <= 0) break;
      seen_.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t at = seen_.find(text, from_);
    std::string part = seen_.substr(from_, at == std::string::npos ? std::string::npos : at + text.size() - from_);
    from_ = at == std::string::npos ? seen_.size() : at + text.size();
    return part;
  }
  // Types a line and answers what the session printed before its next prompt.
  std::string Enter(const std::string& keys) {
    Type(keys + "\r");
    return ReadUntil(kPrompt);
  }
  int Status() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  int fd_ = -1;
  pid_t pid_ = -1;
  std::string seen_;
  std::size_t from_ = 0;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::string kChildrenOn = "[x] Include Child Objects", kChildrenOff = "[ ] Include Child Objects";

}  // namespace

TEST(Interactive, TypedEventsChangeTheDialog) {
  ScratchFolder home;
  Terminal terminal(home.Path(""));
  if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  const std::string first = terminal.ReadUntil(kPrompt);
  EXPECT_TRUE(Has(first, kChildrenOn)) << first;
  EXPECT_TRUE(Has(first, "| Objects              6           4")) << first;
  EXPECT_TRUE(Has(first, "Tab completes")) << "a terminal session says what Tab does";

  const std::string off = terminal.Enter("children off");
  EXPECT_TRUE(Has(off, kChildrenOff)) << off;
  EXPECT_TRUE(Has(off, "| Objects              1           0")) << off;

  const std::string unknown = terminal.Enter("select Robot/Nose");
  EXPECT_TRUE(Has(unknown, "no object at path 'Robot/Nose'")) << unknown;

  EXPECT_TRUE(Has(terminal.Enter("pause on"), "[x] Pause"));
  const std::string help = terminal.Enter("help");
  EXPECT_TRUE(Has(help, "events: select PATH")) << help;
  EXPECT_FALSE(Has(help, "opened:")) << "help lists the events; it does not open the manual";
  terminal.Type("quit\r");
  EXPECT_TRUE(Has(terminal.ReadUntil("no host faults"), "no host faults"));
  EXPECT_EQ(terminal.Status(), 0);
}

// Each line is mistyped and mended with the keys: the dialog shows the event the
// mended line names, which the line as typed would not have.
TEST(Interactive, EditingKeysMendTheLine) {
  ScratchFolder home;
  Terminal terminal(home.Path(""));
  if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  terminal.ReadUntil(kPrompt);

  // "childen off": six steps left, then the missing letter.
  const std::string inserted = terminal.Enter("childen off" + kLeft + kLeft + kLeft + kLeft + kLeft + kLeft + "r");
  EXPECT_TRUE(Has(inserted, kChildrenOff)) << inserted;
  EXPECT_FALSE(Has(inserted, "unknown event")) << inserted;

  const std::string erased = terminal.Enter("children onn" + kBackspace);
  EXPECT_TRUE(Has(erased, kChildrenOn)) << erased;

  // Ctrl-A to the start for the verb's first letter, Ctrl-E back to the end.
  const std::string ends = terminal.Enter("hildren of" + kCtrlA + "c" + kCtrlE + "f");
  EXPECT_TRUE(Has(ends, kChildrenOff)) << ends;
  EXPECT_FALSE(Has(ends, "unknown event")) << ends;

  // Up twice: the line before the last ("children onn" mended to "children on").
  const std::string recalled = terminal.Enter(kUp + kUp);
  EXPECT_TRUE(Has(recalled, kChildrenOn)) << recalled;
  terminal.Type("quit\r");
  EXPECT_EQ(terminal.Status(), 0);
}

TEST(Interactive, TabCompletesEventsAndObjectPaths) {
  ScratchFolder home;
  Terminal terminal(home.Path(""));
  if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  terminal.ReadUntil(kPrompt);

  const std::string verb = terminal.Enter("chi" + kTab + "of" + kTab);
  EXPECT_TRUE(Has(verb, kChildrenOff)) << verb;

  // "Ro" to "Robot", Tab again for its children, "He" to "Robot/Head".
  const std::string path = terminal.Enter("sel" + kTab + "Ro" + kTab + kTab + "He" + kTab);
  EXPECT_TRUE(Has(path, "active object: Robot/Head\r\n")) << path;

  // Tab where the path may go on in several ways lists the ways.
  terminal.Type("select Robot/" + kTab);
  const std::string listed = terminal.ReadUntil("Eye-Camera");
  EXPECT_TRUE(Has(listed, "Antenna")) << listed;
  EXPECT_TRUE(Has(listed, "Body")) << listed;
  terminal.Type("Fl\r");  // no such child: the line is taken as it stands
  const std::string taken = terminal.ReadUntil("no object at path 'Robot/Fl'");
  EXPECT_TRUE(Has(taken, "no object at path 'Robot/Fl'")) << taken;
  terminal.Type("quit\r");
  EXPECT_EQ(terminal.Status(), 0);
}

// Siblings of one name, and names with spaces, as a 3D file gives them.
TEST(Interactive, TabCompletesPathsOfSiblingsAndOfNamesWithSpaces) {
  ScratchFolder home;
  const std::string scene = home.Write("parts.json", R"({"objects": [
    {"name": "My Model", "kind": "null", "children": [
      {"name": "Bolt", "kind": "polygon", "points": 8, "polygons": 6},
      {"name": "Bolt", "kind": "polygon", "points": 4, "polygons": 1},
      {"name": "Left Arm", "kind": "polygon", "points": 3, "polygons": 1}]}]})");
  Terminal terminal(home.Path(""), scene);
  if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  terminal.ReadUntil(kPrompt);

  const std::string second = terminal.Enter("select My" + kTab + kTab + "B" + kTab + "[" + kTab);
  EXPECT_TRUE(Has(second, "active object: My Model/Bolt[2]")) << second;
  EXPECT_TRUE(Has(second, "| Points               4")) << second;

  const std::string quoted = terminal.Enter("select \"My Model/Le" + kTab);
  EXPECT_TRUE(Has(quoted, "active object: My Model/Left Arm")) << quoted;
  terminal.Type("quit\r");
  EXPECT_EQ(terminal.Status(), 0);
}

// The history outlives the session: the next one, with the same HOME, recalls it.
TEST(Interactive, HistoryIsKeptBetweenSessions) {
  ScratchFolder home;
  {
    Terminal terminal(home.Path(""));
    if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
    terminal.ReadUntil(kPrompt);
    terminal.Enter("nonpoly on");
    terminal.Type("quit\r");
    EXPECT_EQ(terminal.Status(), 0);
  }
  Terminal terminal(home.Path(""));
  const std::string first = terminal.ReadUntil(kPrompt);
  EXPECT_TRUE(Has(first, "[ ] Include Non-Poly/Point Objects")) << first;
  const std::string recalled = terminal.Enter(kUp + kUp);  // "quit", then "nonpoly on"
  EXPECT_TRUE(Has(recalled, "[x] Include Non-Poly/Point Objects")) << recalled;
  terminal.Type("quit\r");
  EXPECT_EQ(terminal.Status(), 0);
}

// From a pipe the session reads plain lines: prompts as they are, no editing.
TEST(Interactive, APipeFeedsPlainLines) {
  const ProgramRun run = RunProgram({"--interactive"}, "children off\nhelp\nselect \"Robot/Head\"\t\nquit\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, kChildrenOff)) << run.out;
  EXPECT_TRUE(Has(run.out, "active object: Robot/Head")) << run.out;
  EXPECT_FALSE(Has(run.out, "Tab completes")) << run.out;
  EXPECT_FALSE(Has(run.out, "\x1b")) << "no terminal control on a pipe";
  const std::size_t listed = run.out.find("events: select PATH");
  ASSERT_NE(listed, std::string::npos) << run.out;
  EXPECT_NE(run.out.find("events: select PATH", listed + 1), std::string::npos) << "help lists the events again";
}
