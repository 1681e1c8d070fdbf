#pragma once
// What the program says when the plug-in, or the importer reading a scene, brings
// the process down: what was printed before stays, then one line names the
// plug-in (or the scene), the signal and what the host was doing; with --json the
// output ends with an error object. A crash of the plug-in ends with status 1, of
// the importer with status 2. On a crash, Ctrl-C or a request to end, the
// temporary files of the test host go first.
#include <string>

namespace cli {

enum class Activity { kNone, kLoad, kStart, kCommand, kDialog, kUnload, kReadScene };

// Installs the handlers for the plug-in `plugin` and the scene `scene`; `json`
// adds the error object to the standard output.
void GuardAgainstCrashes(const std::string& plugin, const std::string& scene, bool json);

// What the host does while it lives. Standard output is flushed as it starts, so
// that a crash leaves everything printed before it.
class Doing {
 public:
  explicit Doing(Activity activity);
  ~Doing();
  Doing(const Doing&) = delete;
  Doing& operator=(const Doing&) = delete;

 private:
  Activity previous_;
};

}  // namespace cli
