#include "validator.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "case_list.h"
#include "cases.h"
#include "session.h"
#include "testhost/host.h"
#include "testhost/system.h"

extern char** environ;

namespace validate {

namespace {

using cli::UsageError;
using nlohmann::json;

struct Options {
  int level = 1;
  bool levelGiven = false;  // --list without --level lists every level
  std::uint64_t seed = 1;
  std::string only;   // --case
  std::string group;  // --group
  std::vector<std::string> skip;  // --skip: cases or groups left out
  bool list = false;  // --list: describe the cases instead of running them
  bool json = false;
  std::string report;  // --json FILE; --list --json without a file prints to the standard output
  std::string folder;
  std::string runCase;  // internal: run one case here and write its result
  std::string resultFile;  // internal: where the case writes its result
  bool help = false;
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

// How the validator starts each case in a process of its own: not for users, and
// not in the usage text.
const std::vector<std::string> kInternalOptions = {"--run-case", "--result", "--library"};

// Whether the parser takes `argument` as an option: one of the list, so that an
// option cannot be added without being listed (and the tests then look for it in
// the usage text).
bool Listed(const std::string& argument) {
  const std::vector<std::string> user = ValidatorOptions();
  return std::find(user.begin(), user.end(), argument) != user.end() ||
         std::find(kInternalOptions.begin(), kInternalOptions.end(), argument) != kInternalOptions.end();
}

Options Parse(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError{"option " + argument + " needs a value"};
      return arguments[++i];
    };
    if (!argument.empty() && argument[0] == '-' && !Listed(argument)) throw UsageError{"unknown option " + argument};
    if (argument == "--level") {
      options.level = Number(argument, value(), 1, 10);
      options.levelGiven = true;
    } else if (argument == "--seed") options.seed = static_cast<std::uint64_t>(Number(argument, value(), 0, 2147483647));
    else if (argument == "--case") options.only = value();
    else if (argument == "--group") options.group = value();
    else if (argument == "--skip") options.skip.push_back(value());
    else if (argument == "--json") {
      options.json = true;
      if (i + 1 < arguments.size() && !arguments[i + 1].empty() && arguments[i + 1][0] != '-')
        options.report = arguments[++i];
    } else if (argument == "--list") options.list = true;
    else if (argument == "--run-case") options.runCase = value();
    else if (argument == "--result") options.resultFile = value();
    else if (argument == "--help") options.help = true;
    else if (argument == "--library") options.library = value();
    else if (!argument.empty() && argument[0] == '-') throw UsageError{"unknown option " + argument};
    else if (options.folder.empty()) options.folder = argument;
    else throw UsageError{"more than one plug-in folder given"};
  }
  if (options.json && options.report.empty() && !options.list) throw UsageError{"option --json needs a value"};
  return options;
}

const Case* FindCase(const std::vector<Case>& cases, const std::string& name) {
  for (const Case& c : cases)
    if (c.name == name) return &c;
  return nullptr;
}

// Text the plug-in gave (identifiers, string contents) need not be UTF-8: JSON
// output replaces what is not, instead of failing.
std::string Dump(const json& value, int indent = -1) {
  return value.dump(indent, ' ', false, json::error_handler_t::replace);
}

// Where the case's process writes its result: a file of its own, so that nothing
// the plug-in prints can be taken for it.
std::string g_resultFile;

json RequirementNames(const std::vector<Requirement>& requirements) {
  json names = json::array();
  for (Requirement requirement : requirements) names.push_back(RequirementName(requirement));
  return names;
}

void WriteResult(const CaseResult& result) {
  const json line = {{"passed", result.passed}, {"skipped", result.skipped}, {"detail", result.detail},
                     {"missing", RequirementNames(result.missing)}, {"figures", result.figures}};
  std::ofstream out(g_resultFile, std::ios::trunc);
  out << Dump(line) << "\n";
}

// In the child: runs one case, or skips it for what it needs and lacks here, and
// writes its result.
int RunOneCase(const Case& c, const Options& options) {
  g_resultFile = options.resultFile;
  if (g_resultFile.empty()) throw UsageError{"--run-case needs --result FILE"};
  CaseContext context{options.library, options.level, options.seed};
  CaseResult result;
  try {
    for (Requirement requirement : c.needs) {
      const std::string why = MissingRequirement(requirement, context.plugin);
      if (!why.empty()) result.Skip(requirement, why);
    }
    if (!result.skipped) c.run(context, result);
  } catch (const std::exception& error) {
    result.Fail(std::string("exception: ") + error.what());
  }
  WriteResult(result);
  return 0;
}

// The first line a sanitizer wrote about what it found, or "".
std::string SanitizerReport(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line))
    if ((line.find("Sanitizer") != std::string::npos &&
         (line.find("ERROR") != std::string::npos || line.find("WARNING") != std::string::npos)) ||
        line.find("runtime error:") != std::string::npos)
      return line;
  return "";
}

// A case's process may take this long; then it is killed and the case crashed.
constexpr double kCaseSeconds = 900;

// Waits for the child until the deadline; false (child killed) when it passed.
bool WaitWithDeadline(pid_t pid, int& status, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return true;
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    usleep(5000);
  }
}

// The environment of a case's process: this one's, with its temporary files (the
// copies of the plug-in each host loads) kept in the case's own scratch folder,
// which goes whatever becomes of the case.
std::vector<std::string> CaseEnvironment(const std::string& temporary) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable)
    if (std::string(*variable).rfind("TMPDIR=", 0) != 0) variables.push_back(*variable);
  variables.push_back("TMPDIR=" + temporary);
  return variables;
}

struct Outcome {
  std::string status;  // passed, failed, crashed, skipped
  std::string detail;
  json missing = json::array();  // the requirements a skipped case lacked
  json figures = json::object();
  double seconds = 0;
};

// Runs a case in a process of its own. Its output goes to scratch files; its result
// comes back in a file of its own.
Outcome RunIsolated(const std::string& program, const Case& c, const Options& options, const std::string& scratch) {
  const std::string base = scratch + "/" + c.name;
  const std::string output = base + ".out", errors = base + ".err", resultFile = base + ".result";
  const std::string temporary = base + ".tmp";
  std::filesystem::create_directories(temporary);
  std::vector<std::string> words = {program,   "validate", "--run-case", c.name, "--result", resultFile, "--library",
                                    options.library, "--level", std::to_string(options.level), "--seed",
                                    std::to_string(options.seed)};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> variables = CaseEnvironment(temporary);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  Outcome outcome;
  int status = 0;
  const bool spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0;
  posix_spawn_file_actions_destroy(&actions);
  const bool ended = !spawned || WaitWithDeadline(pid, status, kCaseSeconds);
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!spawned) return Outcome{"crashed", "the case's process could not be started", json::array(), json::object(), 0};
  // A sanitizer's finding names the crash; the rest of the child's errors are noise.
  const std::string report = SanitizerReport(errors);
  auto crashed = [&](const std::string& detail) {
    outcome.status = "crashed";
    outcome.detail = report.empty() ? detail : detail + ": " + report;
    return outcome;
  };
  if (!ended) return crashed("timed out after " + std::to_string(static_cast<int>(kCaseSeconds)) + " s");
  if (WIFSIGNALED(status)) return crashed(std::string("signal ") + strsignal(WTERMSIG(status)));
  json result;
  try {
    std::ifstream in(resultFile);
    if (in) result = json::parse(in);
  } catch (const std::exception&) {
    result = json();
  }
  if (!result.is_object() || !result.contains("passed") || !result.contains("skipped") || !result.contains("detail"))
    return crashed("ended with status " + std::to_string(WEXITSTATUS(status)) + " and no result");
  outcome.figures = result.value("figures", json::object());
  // The child answers 0 once it has written its result: anything else came after
  // the case (a sanitizer's report at exit, a crash in the unload), and fails it.
  if (WEXITSTATUS(status) != 0)
    return crashed("ended with status " + std::to_string(WEXITSTATUS(status)) + " after its result");
  outcome.status = result.at("skipped").get<bool>() ? "skipped" : result.at("passed").get<bool>() ? "passed" : "failed";
  outcome.detail = result.at("detail").is_string() ? result.at("detail").get<std::string>() : "";
  if (outcome.status == "skipped") outcome.missing = result.value("missing", json::array());
  return outcome;
}

// A word of a shell command, quoted when it needs to be.
std::string ShellWord(const std::string& word) {
  if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-./=:+,@%") ==
                           std::string::npos)
    return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

const char kUsage[] =
    "Usage: statlume-host validate [--level 1..10] [--seed N] [--case NAME] [--group GROUP]\n"
    "                              [--skip NAME]... [--json FILE] [PLUGIN_FOLDER]\n"
    "       statlume-host validate --list [--json [FILE]] [--level N] [--case NAME] [--group GROUP]\n"
    "                              [--skip NAME]...\n"
    "Runs the validator's cases on the plug-in in PLUGIN_FOLDER (default: the plug-in\n"
    "folder beside this program), each in a process of its own.\n"
    "  --level N    1 (quick, the default) to 10 (thorough): which cases run and how big\n"
    "  --seed N     the seed of the random cases (default 1)\n"
    "  --case NAME  only that case, whatever its level\n"
    "  --group G    only the cases of that group (load, folder, tables, framework, dialog,\n"
    "               scene, threads)\n"
    "  --skip NAME  leave out that case, or every case of that group (may be repeated)\n"
    "  --json FILE  write the report: per case its status, time, figures and how to reproduce it\n"
    "  --list       run nothing: list the cases (every level, unless --level is given), one a\n"
    "               line, with group, level, seed use, requirements and what each checks;\n"
    "               with --json, as JSON (into FILE, or to the standard output)\n"
    "  --help       this text\n"
    "A case whose requirement is missing (a symbol table in the library, worker threads,\n"
    "the process's figures) is skipped, naming it.\n";

// The cases a run takes, or --list shows: --case names one whatever its level;
// otherwise those of the group given (or of every group) up to the level, and for
// --list without --level those of every level.
std::vector<const Case*> Choose(const std::vector<Case>& cases, const Options& options) {
  if (!options.only.empty() && FindCase(cases, options.only) == nullptr)
    throw UsageError{"no case named " + options.only};
  auto isGroup = [&](const std::string& name) {
    return std::any_of(cases.begin(), cases.end(), [&](const Case& c) { return c.Group() == name; });
  };
  if (!options.group.empty() && !isGroup(options.group)) throw UsageError{"no group named " + options.group};
  for (const std::string& name : options.skip)
    if (FindCase(cases, name) == nullptr && !isGroup(name)) throw UsageError{"no case or group named " + name};
  auto skipped = [&](const Case& c) {
    return std::find(options.skip.begin(), options.skip.end(), c.name) != options.skip.end() ||
           std::find(options.skip.begin(), options.skip.end(), c.Group()) != options.skip.end();
  };
  const bool everyLevel = options.list && !options.levelGiven;
  std::vector<const Case*> chosen;
  for (const Case& c : cases)
    if (!options.only.empty() ? c.name == options.only
                              : (everyLevel || c.level <= options.level) && !skipped(c) &&
                                    (options.group.empty() || c.Group() == options.group))
      chosen.push_back(&c);
  if (chosen.empty())
    throw UsageError{"no case of group " + options.group + " runs at level " + std::to_string(options.level)};
  return chosen;
}

int ListCases(const std::vector<const Case*>& chosen, const Options& options) {
  if (!options.json) {
    PrintCaseList(std::cout, chosen);
    return 0;
  }
  if (options.report.empty()) {
    std::cout << CaseListJson(chosen);
    return 0;
  }
  std::ofstream out(options.report, std::ios::trunc);
  if (!(out << CaseListJson(chosen))) throw UsageError{"cannot write the list " + options.report};
  return 0;
}

}  // namespace

std::vector<std::string> ValidatorOptions() {
  return {"--level", "--seed", "--case", "--group", "--skip", "--json", "--list", "--help"};
}

std::string UsageText() { return kUsage; }

void Abandon(const CaseResult& result) {
  WriteResult(result);
  std::_Exit(0);
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  AddLoadCases(cases);
  AddFolderCases(cases);
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
  if (parsed.help) {
    std::cout << UsageText();
    return 0;
  }
  const std::vector<const Case*> chosen = Choose(cases, parsed);
  if (parsed.list) return ListCases(chosen, parsed);
  Options options = parsed;
  const std::string folder = options.folder.empty() ? cli::DefaultPluginFolder() : options.folder;
  options.library = cli::OnePluginLibrary({folder});
  // The report's file is opened first, so that a path that cannot be written is
  // found before the run, not after it.
  std::ofstream reportFile;
  if (!options.report.empty()) {
    reportFile.open(options.report, std::ios::trunc);
    if (!reportFile) throw UsageError{"cannot write the report " + options.report};
  }
  const std::string reproduceFolder =
      options.folder.empty() ? "" : " " + ShellWord(std::filesystem::absolute(options.folder).lexically_normal().string());

  const std::string scratch = testhost::system::MakeTemporaryFolder("statlume-validate-");
  int passed = 0, failed = 0, skipped = 0;
  json report = {{"plugin", options.library}, {"level", options.level}, {"seed", options.seed}, {"cases", json::array()}};
  std::cout << "validating " << options.library << " at level " << options.level << ", seed " << options.seed << "\n";
  for (const Case* chosenCase : chosen) {
    const Case& c = *chosenCase;
    const Outcome outcome = RunIsolated(program, c, options, scratch);
    std::ostringstream reproduce;
    reproduce << "statlume-host validate --case " << c.name << " --seed " << options.seed << " --level "
              << options.level << reproduceFolder;
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
    if (c.random) entry["seed"] = options.seed;
    entry["requires"] = RequirementNames({c.needs.begin(), c.needs.end()});
    if (!outcome.missing.empty()) entry["missing"] = outcome.missing;
    if (outcome.status == "failed" || outcome.status == "crashed") entry["reproduce"] = reproduce.str();
    report["cases"].push_back(entry);
  }
  std::filesystem::remove_all(scratch);
  report["passed"] = passed;
  report["failed"] = failed;
  report["skipped"] = skipped;
  if (reportFile.is_open()) reportFile << Dump(report, 2) << "\n";
  std::cout << passed << " passed, " << failed << " failed" << (skipped > 0 ? ", " + std::to_string(skipped) + " skipped" : "")
            << "\n";
  return failed == 0 ? 0 : 1;
}

void TakeFaults(testhost::Host& host, CaseResult& result, const std::string& where) {
  if (!host.Failures().empty()) result.Fail(where + host.Failures().front());
}

}  // namespace validate
