#pragma once
// The command line of statlume-host.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::vector<std::string> pluginFolders;  // empty: the build's plug-in folder
  std::string scene;                       // empty: the bundled scene; "-": the standard input
  std::string object;                      // empty: what the scene names, else its first object
  std::string script;                      // "-": the standard input
  std::string png;
  std::uint64_t maxMemory = 0;  // 0: the default budget; kUnlimited: none
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
