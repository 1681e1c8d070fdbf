// statlume-host: runs the Statlume plug-in in the test host on a scene of the
// user's, and shows the dialog as a person working with the host would see it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "batch.h"
#include "crash_report.h"
#include "dialog_picture.h"
#include "events.h"
#include "failure.h"
#include "interactive.h"
#include "memory_budget.h"
#include "options.h"
#include "path_problem.h"
#include "printable.h"
#include "report.h"
#include "session.h"
#include "standard_input.h"
#include "tree.h"
#include "validator.h"

namespace {

namespace fs = std::filesystem;
using cli::UsageError;

using cli::ScriptLine;

std::uint64_t g_budget = cli::kUnlimited;  // the memory budget in force

std::string NeedsMore() {
  if (g_budget == cli::kUnlimited) return "needs more memory than the machine gives";
  return "needs more memory than the budget of " + cli::DescribeMemorySize(g_budget) + " (--max-memory SIZE changes it)";
}

// One line for a file that needs more memory than the program may take.
UsageError TooLarge(const std::string& file) { return UsageError{file + ": " + NeedsMore(), file}; }

// Runs `read`, which reads `file`: running out of memory there is the file's doing.
template <typename Read>
auto Reading(const std::string& file, Read&& read) {
  try {
    return read();
  } catch (const std::bad_alloc&) {
    throw TooLarge(file);
  } catch (const UsageError&) {
    if (cli::MemoryRanOut()) throw TooLarge(file);
    throw;
  }
}

// A bad line is the script's: the error names it as the file concerned.
std::vector<ScriptLine> ReadScript(std::istream& in, const std::string& file) {
  try {
    return Reading(file, [&] { return cli::ReadScript(in, file); });
  } catch (const UsageError& error) {
    throw UsageError{error.message, file};
  }
}

std::vector<ScriptLine> ReadScript(const std::string& file) {
  if (file == cli::kStandardInput) return ReadScript(std::cin, file);
  if (const std::string problem = cli::PathProblem(file, cli::PathKind::kFile); !problem.empty())
    throw UsageError{file + ": " + problem, file};
  std::ifstream in(file, std::ios::binary);
  if (!in) throw UsageError{file + ": cannot read the script", file};
  return ReadScript(in, file);
}

// Opens the session on the scene; a scene from the standard input is read from a
// copy, which goes as soon as the scene is loaded.
std::unique_ptr<cli::Session> OpenSession(const std::string& library, const std::string& scene,
                                          const std::string& object) {
  std::optional<cli::StandardInputFile> input;
  if (scene == cli::kStandardInput) input.emplace();
  const std::string file = input ? input->Path() : scene;
  return Reading(scene, [&] { return std::make_unique<cli::Session>(library, file, object, scene); });
}

// The dialog's options the command line gives, set as a user sets them once the
// dialog is open.
void ApplyDialogOptions(cli::Session& session, const cli::Options& options) {
  const std::pair<const std::optional<bool>&, cli::Option> given[] = {
      {options.includeChildren, cli::Option::kIncludeChildren},
      {options.includeNonPoly, cli::Option::kIncludeNonPoly},
      {options.pause, cli::Option::kPause}};
  for (const auto& [on, option] : given)
    if (on.has_value()) session.SetOption(option, *on);
}

std::string PictureFile(const std::string& file, int index, bool numbered) {
  if (!numbered) return file;
  fs::path path(file);
  const std::string extension = path.extension().string();
  char suffix[16];
  std::snprintf(suffix, sizeof(suffix), "-%02d", index);
  return (path.parent_path() / (path.stem().string() + suffix + extension)).string();
}

class Output {
 public:
  Output(const cli::Options& options, cli::Session& session)
      : options_(options), session_(session), numbered_(!options.script.empty()) {}

  void Show(const cli::State& state) {
    if (options_.json)
      cli::PrintJson(std::cout, state, session_.PluginFile(), session_.SceneFile());
    else
      cli::PrintState(std::cout, state);
    ++states_;
    // A closed dialog has nothing to draw: its state gets no picture.
    if (!options_.png.empty() && state.view.open) {
      std::string error;
      const std::string file = PictureFile(options_.png, states_, numbered_);
      if (!cli::WriteDialogPicture(state.view, file, error)) throw UsageError{error};
    }
  }

 private:
  const cli::Options& options_;
  cli::Session& session_;
  bool numbered_;
  int states_ = 0;
};

// What the run shows once the dialog is open: the terminal session, the tree, or
// the dialog's states through the script.
void Show(cli::Session& session, const cli::Options& options, const std::vector<ScriptLine>& script) {
  if (options.interactive) {
    cli::RunInteractive(session);
  } else if (options.tree) {
    const std::vector<cli::TreeRow> rows = cli::CountEveryObject(session);
    if (options.json) cli::PrintTreeJson(std::cout, rows);
    else cli::PrintTree(std::cout, rows);
  } else {
    Output output(options, session);
    output.Show(cli::Capture(session, "open", 0));
    for (const ScriptLine& line : script) {
      try {
        cli::ApplyEvent(session, line.event);
      } catch (const UsageError& error) {
        session.Finish();
        throw UsageError{options.script + ":" + std::to_string(line.number) + ": " + error.message, options.script};
      }
      output.Show(cli::Capture(session, line.event.text, line.number));
    }
  }
}

int Run(const cli::Options& options) {
  g_budget = cli::ApplyMemoryBudget(options.maxMemory != 0 ? options.maxMemory : cli::DefaultMemoryBudget());
  std::vector<std::string> folders = options.pluginFolders;
  if (folders.empty()) folders.push_back(cli::DefaultPluginFolder());
  const std::string library = cli::OnePluginLibrary(folders);
  const std::string scene = options.scene.empty() ? cli::BundledScene() : options.scene;
  const std::vector<ScriptLine> script = options.script.empty() ? std::vector<ScriptLine>{} : ReadScript(options.script);

  cli::GuardAgainstCrashes(library, scene, options.json);
  const std::unique_ptr<cli::Session> opened = OpenSession(library, scene, options.object);
  cli::Session& session = *opened;
  if (!options.json) {
    std::cout << "Statlume in the test host\n"
              << "  plug-in: " << cli::Printable(session.PluginFile()) << "\n"
              << "  scene:   " << cli::Printable(scene) << "\n";
  }
  const bool registered = session.Start();
  if (registered) {
    session.RunCommand();
    ApplyDialogOptions(session, options);
    Show(session, options, script);
  }
  const bool clean = session.Finish();
  for (const std::string& line : session.TakeConsoleLines())
    if (!options.json) std::cout << "  console: " << cli::Printable(line) << "\n";
  if (!clean || !registered) {
    cli::Failure failure{"the host recorded faults of the plug-in", 1, "", {}};
    if (!registered)
      failure.message = clean ? "the plug-in registered no command"
                              : "the plug-in registered no command, and the host recorded faults of it";
    if (!clean) failure.faults = session.Faults();
    cli::ReportFailure(failure, options.json);
    return 1;
  }
  if (!options.json) std::cout << "\nno host faults\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const bool validating = !arguments.empty() && arguments[0] == "validate";
  // The validator's --json names a report file: its failures stay lines of text.
  bool json = !validating && cli::WantsJson(arguments);
  try {
    if (validating)
      return validate::RunValidator(std::vector<std::string>(arguments.begin() + 1, arguments.end()),
                                    cli::ProgramFile(argv[0]));
    const cli::Options options = cli::ParseOptions(arguments);
    json = options.json;
    if (options.help) {
      std::cout << cli::HelpText() << "\n" << validate::UsageText();
      return 0;
    }
    if (options.version) {
      std::cout << cli::VersionText();
      return 0;
    }
    if (batch::ManyFiles(options)) return batch::RunBatch(options, cli::ProgramFile(argv[0]));
    return Run(options);
  } catch (const UsageError& error) {
    cli::ReportFailure({error.message, 2, error.file, {}}, json);
    return 2;
  } catch (const std::bad_alloc&) {
    cli::ReportFailure({"the session " + NeedsMore(), 2, "", {}}, json);
    return 2;
  } catch (const std::exception& error) {
    cli::ReportFailure({error.what(), 2, "", {}}, json);
    return 2;
  }
}
