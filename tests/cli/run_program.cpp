#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "batch.h"
#include "file_row.h"
#include "options.h"
#include "usage_error.h"

extern char** environ;

namespace {

std::string ReadFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Environment(const std::string& temporary) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable)
    if (temporary.empty() || std::string(*variable).rfind("TMPDIR=", 0) != 0) variables.push_back(*variable);
  if (!temporary.empty()) variables.push_back("TMPDIR=" + temporary);
  return variables;
}

// Waits until the file has something in it, or a few seconds have passed.
void AwaitOutput(const std::string& file, pid_t pid) {
  for (int tries = 0; tries < 1000; ++tries) {
    struct stat status {};
    if (stat(file.c_str(), &status) == 0 && status.st_size > 0) return;
    siginfo_t ended{};
    if (waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

ProgramRun Launch(std::vector<std::string> words, const RunSettings& settings) {
  ScratchFolder scratch;
  const std::string in = scratch.Write("stdin", settings.input), out = scratch.Path("stdout"),
                    err = scratch.Path("stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> variables = Environment(settings.temporary);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  ProgramRun run;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    if (settings.interruption != 0) {
      AwaitOutput(out, pid);
      kill(pid, settings.interruption);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.peakKilobytes = usage.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  return run;
}

// Whether a run writes JSON to the standard output: --json before any "--", and
// not the validator's (whose --json names a report file).
bool PrintsJson(const std::vector<std::string>& arguments) {
  if (!arguments.empty() && arguments[0] == "validate") return false;
  for (const std::string& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--json") return true;
  }
  return false;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string LastLine(const std::string& text) {
  std::istringstream lines(text);
  std::string last;
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) last = line;
  return last;
}

// Whether the command line counts several files, as the program reads it.
bool ManyFiles(const std::vector<std::string>& arguments) {
  try {
    return batch::ManyFiles(cli::ParseOptions(arguments));
  } catch (const cli::UsageError&) {
    return false;
  }
}

// A run over several files: a document per file, each naming it, the exit status
// the worst of the files'. A run refused as a whole says so on the standard error
// and in its one error object.
void CheckFileDocuments(const std::string& command, const ProgramRun& run) {
  if (!run.err.empty()) {
    const nlohmann::json refusal = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_TRUE(refusal.is_object() && refusal.contains("error")) << command << ": " << run.out;
    EXPECT_EQ(refusal.value("status", 0), run.status) << command;
    EXPECT_EQ(run.err, "statlume-host: " + refusal.value("error", "") + "\n") << command;
    return;
  }
  int worst = 0;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    const nlohmann::json document = nlohmann::json::parse(line, nullptr, false);
    ASSERT_TRUE(document.is_object() && document.contains("file")) << command << ": " << line;
    worst = batch::WorseStatus(worst, document.value("status", 0));
  }
  EXPECT_EQ(worst, run.status) << command << ": the exit status is the worst of the files'";
}

void CheckJsonOutput(const std::vector<std::string>& arguments, const ProgramRun& run) {
  if (run.status < 0) return;  // ended by a signal, anywhere in its output
  std::string command = "statlume-host";
  for (const std::string& argument : arguments) command += " " + argument;
  EXPECT_EQ(SchemaProblems(run.out), "") << command << "\n" << run.out;
  if (ManyFiles(arguments)) return CheckFileDocuments(command, run);
  const nlohmann::json last = nlohmann::json::parse(LastLine(run.out), nullptr, false);
  const bool failed = last.is_object() && last.contains("error");
  if (run.status == 0) {
    EXPECT_FALSE(failed) << command << ": a run that succeeds ends with an error object";
    return;
  }
  ASSERT_TRUE(failed) << command << ": exit status " << run.status << " without an error object:\n" << run.out;
  EXPECT_EQ(last.value("status", 0), run.status) << command;
  // The faults the host recorded follow the message on the standard error.
  const std::string announced = last.contains("faults") ? ":" : "";
  EXPECT_EQ(FirstLine(run.err), "statlume-host: " + last.value("error", "") + announced) << command;
}

}  // namespace

std::string SchemaProblems(const std::string& text) {
  const ProgramRun check =
      RunCommand({STATLUME_DEBIAN_PYTHON, STATLUME_SOURCE_DIR "/tests/cli/validate_json.py",
                  STATLUME_SOURCE_DIR "/testhost/cli/statlume-host.schema.json"},
                 text);
  if (check.status == 0) return "";
  return check.out + check.err + (check.out.empty() && check.err.empty() ? "the validator did not run" : "");
}

std::string SchemaCheckedFile(const std::string& file) {
  const std::string text = ReadFile(file);
  EXPECT_EQ(SchemaProblems(text), "") << file;
  return text;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "statlume-cli-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& content) const {
  std::ofstream(Path(name), std::ios::binary) << content;
  return Path(name);
}

std::string ScratchFolder::Folder(const std::string& name) const {
  std::filesystem::remove_all(Path(name));
  std::filesystem::create_directories(Path(name));
  return Path(name);
}

std::vector<std::string> ScratchFolder::Listing(const std::string& folder) const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Path(folder)))
    names.push_back(entry.path().filename().string());
  return names;
}

ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& input) {
  return RunProgram(arguments, RunSettings{input, "", 0});
}

ProgramRun RunProgram(const std::vector<std::string>& arguments, const RunSettings& settings) {
  std::vector<std::string> words{STATLUME_HOST_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  ProgramRun run = Launch(words, settings);
  if (PrintsJson(arguments)) CheckJsonOutput(arguments, run);
  return run;
}

ProgramRun RunCommand(std::vector<std::string> words, const std::string& input) {
  return Launch(std::move(words), RunSettings{input, "", 0});
}
