#pragma once
// The command line of statlume-host.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// The most files counted at once (-j N).
inline constexpr int kMostJobs = 256;

// How a run over several files prints its rows.
enum class TableFormat { kText, kCsv, kTsv };

struct Options {
  std::vector<std::string> pluginFolders;  // empty: the build's plug-in folder
  std::string scene;                       // empty: the bundled scene; "-": the standard input
  std::vector<std::string> scenes;         // every FILE|FOLDER given, in order
  // The options a file's own process gets in a run over several files: all but
  // those that shape the run itself (the table, -j, the memory budget).
  std::vector<std::string> perFileOptions;
  std::string object;                      // empty: what the scene names, else its first object
  std::string script;                      // "-": the standard input
  std::string png;
  std::uint64_t maxMemory = 0;  // 0: the default budget; kUnlimited: none
  TableFormat tableFormat = TableFormat::kText;
  bool tableFormatGiven = false;  // --csv or --tsv
  int jobs = 0;                   // files counted at once; 0: one per core
  // The dialog's options as the run starts; unset: as the dialog opens.
  std::optional<bool> includeChildren, includeNonPoly, pause;
  bool tree = false;  // every object with its counts, instead of the dialog
  bool json = false;
  bool interactive = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments after the program name; throws UsageError on a bad one.
Options ParseOptions(const std::vector<std::string>& arguments);
// Every option ParseOptions takes: it refuses any other, so that a new option is
// listed here, and the tests then look for it in HelpText.
const std::vector<std::string>& KnownOptions();

// Whether the arguments ask for JSON, read before they are checked, so that a bad
// command line is reported as JSON too.
bool WantsJson(const std::vector<std::string>& arguments);

// The name standard input goes by, as a scene or a script.
inline const std::string kStandardInput = "-";

std::string HelpText();
std::string VersionText();

}  // namespace cli
