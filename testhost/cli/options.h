#pragma once
// The command line of statlume-host.
#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::vector<std::string> pluginFolders;  // empty: the build's plug-in folder
  std::string scene;                       // empty: the bundled scene
  std::string object;                      // empty: what the scene names, else its first object
  std::string script;
  std::string png;
  std::uint64_t maxMemory = 0;  // 0: the default budget; kUnlimited: none
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

std::string HelpText();
std::string VersionText();

}  // namespace cli
