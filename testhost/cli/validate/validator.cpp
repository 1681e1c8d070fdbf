#include "validator.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cases.h"
#include "session.h"
#include "testhost/system.h"

extern char** environ;

namespace validate {

namespace {

using cli::UsageError;
using nlohmann::json;

struct Options {
  int level = 1;
  std::uint64_t seed = 1;
  std::string only;   // --case
  std::string group;  // --group
  std::string report;
  std::string folder;
  std::string runCase;  // internal: run one case here and print its result
  std::string library;  // internal: the library the parent found
};

int Number(const std::string& option, const std::string& text, long least, long most) {
  std::size_t used = 0;
  long value = 0;
  try {
    value = std::stol(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || value < least || value > most)
    throw UsageError{option + " takes a number from " + std::to_string(least) + " to " + std::to_string(most)};
  return static_cast<int>(value);
}

Options Parse(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError{"option " + argument + " needs a value"};
      return arguments[++i];
    };
    if (argument == "--level") options.level = Number(argument, value(), 1, 10);
    else if (argument == "--seed") options.seed = static_cast<std::uint64_t>(Number(argument, value(), 0, 2147483647));
    else if (argument == "--case") options.only = value();
    else if (argument == "--group") options.group = value();
    else if (argument == "--json") options.report = value();
    else if (argument == "--run-case") options.runCase = value();
    else if (argument == "--library") options.library = value();
    else if (!argument.empty() && argument[0] == '-') throw UsageError{"unknown option " + argument};
    else if (options.folder.empty()) options.folder = argument;
    else throw UsageError{"more than one plug-in folder given"};
  }
  return options;
}

const Case* FindCase(const std::vector<Case>& cases, const std::string& name) {
  for (const Case& c : cases)
    if (c.name == name) return &c;
  return nullptr;
}

void PrintResult(const CaseResult& result) {
  json line = {{"passed", result.passed}, {"skipped", result.skipped}, {"detail", result.detail},
               {"figures", result.figures}};
  std::cout << "\n@result " << line.dump() << std::endl;
}

// In the child: runs one case and prints its result as one JSON line.
int RunOneCase(const Case& c, const Options& options) {
  alarm(900);  // a hang ends as a crash of this case, not of the validator
  CaseContext context{options.library, options.level, options.seed};
  CaseResult result;
  try {
    c.run(context, result);
  } catch (const std::exception& error) {
    result.Fail(std::string("exception: ") + error.what());
  }
  PrintResult(result);
  return 0;
}

// The group of a case: its name up to the first dot.
std::string GroupOf(const std::string& name) { return name.substr(0, name.find('.')); }

// The first line a sanitizer wrote about what it found, or "".
std::string SanitizerReport(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if (line.find("Sanitizer") != std::string::npos &&
        (line.find("ERROR") != std::string::npos || line.find("WARNING") != std::string::npos))
      return line;
  return "";
}

struct Outcome {
  std::string status;  // passed, failed, crashed, skipped
  std::string detail;
  json figures = json::object();
  double seconds = 0;
};

// Runs a case in a process of its own; its standard output goes to a scratch file
// so that the plug-in's own output cannot confuse the result line.
Outcome RunIsolated(const std::string& program, const Case& c, const Options& options, const std::string& scratch) {
  const std::string output = scratch + "/" + c.name + ".out";
  const std::string errors = scratch + "/" + c.name + ".err";
  std::vector<std::string> words = {program, "validate", "--run-case", c.name, "--library", options.library,
                                    "--level", std::to_string(options.level), "--seed", std::to_string(options.seed)};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  Outcome outcome;
  int status = 0;
  const bool spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (spawned) waitpid(pid, &status, 0);
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!spawned) return Outcome{"crashed", "the case's process could not be started", json::object(), 0};
  // A sanitizer's finding names the crash; the rest of the child's errors are noise.
  const std::string report = SanitizerReport(errors);
  auto crashed = [&](const std::string& detail) {
    outcome.status = "crashed";
    outcome.detail = report.empty() ? detail : detail + ": " + report;
    return outcome;
  };
  if (WIFSIGNALED(status)) return crashed(std::string("signal ") + strsignal(WTERMSIG(status)));
  std::ifstream in(output);
  std::string line, last;
  while (std::getline(in, line))
    if (line.rfind("@result ", 0) == 0) last = line.substr(8);
  if (last.empty()) return crashed("ended with status " + std::to_string(WEXITSTATUS(status)) + " and no result");
  const json result = json::parse(last);
  outcome.figures = result.at("figures");
  // The child answers 0 once it has printed its result: anything else came after
  // the case (a sanitizer's report at exit, a crash in the unload), and fails it.
  if (WEXITSTATUS(status) != 0)
    return crashed("ended with status " + std::to_string(WEXITSTATUS(status)) + " after its result");
  outcome.status = result.at("skipped").get<bool>() ? "skipped" : result.at("passed").get<bool>() ? "passed" : "failed";
  outcome.detail = result.at("detail").get<std::string>();
  return outcome;
}

}  // namespace

void Abandon(const CaseResult& result) {
  PrintResult(result);
  std::_Exit(0);
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  AddLoadCases(cases);
  AddTableCases(cases);
  AddFrameworkCases(cases);
  AddDialogCases(cases);
  AddSceneCases(cases);
  AddThreadCases(cases);
  return cases;
}

int RunValidator(const std::vector<std::string>& arguments, const std::string& program) {
  const Options parsed = Parse(arguments);
  const std::vector<Case> cases = AllCases();
  if (!parsed.runCase.empty()) {
    const Case* c = FindCase(cases, parsed.runCase);
    if (c == nullptr) throw UsageError{"no case named " + parsed.runCase};
    return RunOneCase(*c, parsed);
  }
  Options options = parsed;
  const std::vector<std::string> libraries =
      cli::FindPluginLibraries({options.folder.empty() ? cli::DefaultPluginFolder() : options.folder});
  if (libraries.empty()) throw UsageError{"no plug-in library (with its res/ folder) in " + options.folder};
  options.library = libraries.front();
  if (!options.only.empty() && FindCase(cases, options.only) == nullptr)
    throw UsageError{"no case named " + options.only};
  if (!options.group.empty() &&
      std::none_of(cases.begin(), cases.end(), [&](const Case& c) { return GroupOf(c.name) == options.group; }))
    throw UsageError{"no group named " + options.group};

  const std::string scratch = testhost::system::MakeTemporaryFolder("statlume-validate-");
  int passed = 0, failed = 0, skipped = 0;
  json report = {{"plugin", options.library}, {"level", options.level}, {"seed", options.seed}, {"cases", json::array()}};
  std::cout << "validating " << options.library << " at level " << options.level << ", seed " << options.seed << "\n";
  for (const Case& c : cases) {
    // --case runs the one case whatever its level; otherwise the cases up to the
    // level run, of the group given.
    if (!options.only.empty() ? c.name != options.only
                              : c.level > options.level || (!options.group.empty() && GroupOf(c.name) != options.group))
      continue;
    const Outcome outcome = RunIsolated(program, c, options, scratch);
    std::ostringstream reproduce;
    reproduce << "statlume-host validate --case " << c.name << " --seed " << options.seed << " --level "
              << options.level << (options.folder.empty() ? "" : " " + options.folder);
    std::cout << "  " << outcome.status << std::string(9 - outcome.status.size(), ' ') << c.name;
    if (!outcome.detail.empty()) std::cout << ": " << outcome.detail;
    std::cout << "\n";
    if (outcome.status == "passed") ++passed;
    else if (outcome.status == "skipped") ++skipped;
    else {
      ++failed;
      std::cout << "           reproduce: " << reproduce.str() << "\n";
    }
    std::cout.flush();  // a long run shows each case as it ends, also into a pipe
    json entry = {{"name", c.name},       {"level", c.level},         {"status", outcome.status},
                  {"seconds", outcome.seconds}, {"figures", outcome.figures}, {"detail", outcome.detail}};
    if (outcome.status == "failed" || outcome.status == "crashed") entry["reproduce"] = reproduce.str();
    report["cases"].push_back(entry);
  }
  std::filesystem::remove_all(scratch);
  report["passed"] = passed;
  report["failed"] = failed;
  report["skipped"] = skipped;
  if (!options.report.empty()) {
    std::ofstream out(options.report);
    if (!out) throw UsageError{"cannot write the report " + options.report};
    out << report.dump(2) << "\n";
  }
  std::cout << passed << " passed, " << failed << " failed" << (skipped > 0 ? ", " + std::to_string(skipped) + " skipped" : "")
            << "\n";
  return failed == 0 ? 0 : 1;
}

}  // namespace validate
