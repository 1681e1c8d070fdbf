#pragma once
// Where the program lies, and what it finds beside it. Installed, the program is
// PREFIX/bin/statlume-host, beside the plug-in folder PREFIX/plugins/statlume and
// the bundled scenes in PREFIX/share/statlume-host/scenes; a build lays out the
// same in build/<preset>/out. One rule serves both, so that the program carries
// no path of the machine it was built on and works wherever it is moved.
#include <string>

namespace cli {

// The running program's file, symbolic links resolved (a link to the program from
// a folder on PATH finds the real one); throws UsageError when the system does not
// say.
std::string ProgramFile();
// The same, for starting the program again: argv0 when the system does not say.
std::string ProgramFile(const char* argv0);
// The plug-in folder beside the program, where it looks when it is given none.
std::string DefaultPluginFolder();
// The bundled scene, which the program opens when it is given none.
std::string BundledScene();

}  // namespace cli
