#pragma once
// The command line of statlume-host.
#include <string>
#include <vector>

namespace cli {

struct Options {
  std::vector<std::string> pluginFolders;  // empty: the build's plug-in folder
  std::string scene;                       // empty: the bundled scene
  std::string object;                      // empty: what the scene names, else its first object
  std::string script;
  std::string png;
  bool json = false;
  bool interactive = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments after the program name; throws UsageError on a bad one.
Options ParseOptions(const std::vector<std::string>& arguments);

std::string HelpText();
std::string VersionText();

}  // namespace cli
