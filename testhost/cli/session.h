#pragma once
// One run of the plug-in in the test host, as a person at the host sees it: the
// plug-in loaded from its folder, a scene open with an active object, the command
// "Statlume" run, and then the user's and the scene's events, each followed by the
// dialog as it stands.
#include <memory>
#include <string>
#include <vector>

#include "dialog_view.h"
#include "program_location.h"
#include "scene_input.h"
#include "usage_error.h"
#include "testhost/host.h"

namespace cli {


// The plug-in libraries in the given folders: a folder may be a plug-in folder
// itself (the library beside its res/ folder) or hold plug-in folders.
std::vector<std::string> FindPluginLibraries(const std::vector<std::string>& folders);
// The one plug-in library in the folders; throws UsageError for none or several.
std::string OnePluginLibrary(const std::vector<std::string>& folders);

enum class Option { kIncludeChildren, kIncludeNonPoly, kPause };

class Session {
 public:
  // Loads the plug-in and the scene; the active object is `objectPath` when given,
  // else the one the scene names, else its first top-level object. `sceneName` is
  // what messages and SceneFile() call the scene (a copy of the standard input is
  // called "-"); empty: its file.
  Session(const std::string& pluginFile, const std::string& sceneFile, const std::string& objectPath,
          const std::string& sceneName = "");
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The life cycle up to a registered command; false when the plug-in registers none.
  bool Start();
  // The user runs "Statlume": the dialog opens.
  void RunCommand();

  // --- what the user does ---
  void Select(const std::string& path);
  // The same for an object ObjectPaths() listed.
  void Select(testhost::SceneObject* object);
  void SetOption(Option option, bool on);
  bool OptionOn(Option option) const;
  void About();
  void ShowHelpFile();
  void CloseWindow();
  void ReopenWindow();
  // --- what happens to the scene (each sends the host's scene-change message) ---
  void AddObject(const std::string& kind, const std::string& name, const std::vector<std::int32_t>& numbers,
                 const std::string& parentPath);
  void DeleteObject(const std::string& path);
  void MoveObject(const std::string& path, const std::string& parentPath);
  void EditObject(const std::string& path, const std::string& field, std::int32_t value);
  void SceneChanged();

  // Ends the plug-in and unloads it; answers whether the host saw no fault.
  bool Finish();

  DialogView View() const;
  std::string SceneFile() const { return sceneFile_; }
  std::string PluginFile() const;
  std::string ActivePath() const;
  // The scene as it stands, for completing its paths.
  testhost::Document* Document() const { return document_; }
  // Every object of the scene in the order of the hierarchy, with its path and depth.
  std::vector<testhost::input::ObjectPath> ObjectPaths() const;
  // Console lines, message boxes and opened files since the last call.
  std::vector<std::string> TakeConsoleLines();
  std::vector<std::string> TakeMessageBoxes();
  std::vector<std::string> TakeOpenedFiles();
  std::vector<std::string> Faults() const;

 private:
  testhost::SceneObject* Object(const std::string& path) const;
  testhost::Window* DialogWindow() const;
  void Choose(std::int32_t item);

  std::unique_ptr<testhost::Host> host_;
  std::string sceneFile_;
  testhost::Document* document_ = nullptr;
  testhost::RegisteredCommand* command_ = nullptr;
  std::size_t consoleShown_ = 0, boxesShown_ = 0, filesShown_ = 0;
  bool finished_ = false;
};

}  // namespace cli
