#include "session.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "crash_report.h"
#include "path_problem.h"
#include "phase_times.h"
#include "quiet_output.h"
#include "scene_input.h"
#include "testhost/commands.h"

namespace cli {

namespace fs = std::filesystem;
using testhost::tool::kCommandId;

namespace {

const std::map<Option, std::int32_t> kOptionItems = {{Option::kIncludeChildren, testhost::tool::kIncludeChildren},
                                                     {Option::kIncludeNonPoly, testhost::tool::kIncludeNonPoly},
                                                     {Option::kPause, testhost::tool::kPause}};

// Entries that cannot be looked at (a loop of symbolic links) are no plug-in.
bool IsPluginLibrary(const fs::path& file) {
  std::error_code error;
  return file.extension() == STATLUME_LIBRARY_SUFFIX && fs::is_regular_file(file, error) &&
         fs::is_directory(file.parent_path() / "res", error);
}

}  // namespace

std::vector<std::string> FindPluginLibraries(const std::vector<std::string>& folders) {
  std::vector<std::string> found;
  for (const std::string& folder : folders) {
    if (const std::string problem = PathProblem(folder, PathKind::kFolder); !problem.empty())
      throw UsageError{"plug-in folder " + folder + ": " + problem, folder};
    std::vector<fs::path> candidates;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      candidates.push_back(entry.path());
      if (entry.is_directory(error))
        for (const fs::directory_entry& inner : fs::directory_iterator(entry.path())) candidates.push_back(inner.path());
    }
    std::sort(candidates.begin(), candidates.end());
    for (const fs::path& candidate : candidates)
      if (IsPluginLibrary(candidate)) found.push_back(candidate.generic_string());
  }
  return found;
}

std::string OnePluginLibrary(const std::vector<std::string>& folders) {
  std::string named;
  for (const std::string& folder : folders) named += (named.empty() ? "" : " and ") + folder;
  const std::vector<std::string> libraries = FindPluginLibraries(folders);
  if (libraries.empty()) throw UsageError{"no plug-in library (with its res/ folder) in " + named};
  if (libraries.size() > 1)
    throw UsageError{"more than one plug-in library in " + named + " (" + libraries[0] + ", " + libraries[1] +
                     "): give the folder of one"};
  return libraries.front();
}

Session::Session(const std::string& pluginFile, const std::string& sceneFile, const std::string& objectPath,
                 const std::string& sceneName)
    : sceneFile_(sceneName.empty() ? sceneFile : sceneName) {
  try {
    const Doing doing(Activity::kLoad);
    const testhost::input::Phase phase("plug-in load");
    host_ = std::make_unique<testhost::Host>(pluginFile);
  } catch (const std::runtime_error& error) {
    throw UsageError{std::string("plug-in ") + pluginFile + ": " + error.what(), pluginFile};
  }
  host_->SetRecording(false);  // nothing here reads the call record: it would grow with every call
  testhost::Scene& scene = host_->SceneModel();
  try {
    const Doing doing(Activity::kReadScene);
    const QuietOutput quiet;  // the importer's own log lines
    document_ = testhost::input::LoadScene(scene, sceneFile);
  } catch (const testhost::input::InputError& error) {
    // The reader names the file it read; the user knows the scene by its own name.
    const std::string file = error.File() == sceneFile ? sceneFile_ : error.File();
    throw UsageError{testhost::input::InputError(file, error.Line(), error.Reason()).what(), file};
  }
  if (!objectPath.empty()) {
    testhost::SceneObject* object = testhost::input::FindByPath(document_, objectPath);
    if (object == nullptr) throw UsageError{sceneFile_ + ": no object at path '" + objectPath + "'", sceneFile_};
    scene.SetActive(document_, object);
  }
}

Session::~Session() {
  if (!finished_) Finish();
}

bool Session::Start() {
  const Doing doing(Activity::kStart);
  const testhost::input::Phase phase("plug-in start");
  host_->Init();
  host_->Message(1);
  host_->Start();
  command_ = host_->CommandModel().ById(kCommandId);
  return command_ != nullptr;
}

void Session::RunCommand() {
  const Doing doing(Activity::kCommand);
  const testhost::input::Phase phase("plug-in count");
  if (command_ != nullptr) host_->CommandModel().Run(*command_);
}

testhost::Window* Session::DialogWindow() const {
  testhost::Window* window = host_->WindowModel().ByPluginId(kCommandId);
  return window != nullptr && window->open ? window : nullptr;
}

void Session::Choose(std::int32_t item) {
  const Doing doing(Activity::kDialog);
  if (testhost::Window* window = DialogWindow())
    host_->WindowModel().Send(*window, testhost::code::bACT, {{testhost::code::meid, item}});
}

testhost::SceneObject* Session::Object(const std::string& path) const {
  testhost::SceneObject* object = testhost::input::FindByPath(document_, path);
  if (object == nullptr) throw UsageError{"no object at path '" + path + "'"};
  return object;
}

void Session::Select(const std::string& path) { Select(Object(path)); }

void Session::Select(testhost::SceneObject* object) {
  host_->SceneModel().SetActive(document_, object);
  SceneChanged();  // the host reports a new selection as a change of the scene
}

bool Session::OptionOn(Option option) const {
  const testhost::Window* window = DialogWindow();
  if (window == nullptr) return false;
  const testhost::MenuEntry* item = window->FindMenuItem(kOptionItems.at(option));
  return item != nullptr && item->checked;
}

void Session::SetOption(Option option, bool on) {
  if (DialogWindow() == nullptr) throw UsageError{"the dialog is closed"};
  if (OptionOn(option) != on) Choose(kOptionItems.at(option));
}

void Session::About() { Choose(testhost::tool::kAbout); }

void Session::ShowHelpFile() { Choose(testhost::tool::kHelpFile); }

void Session::CloseWindow() {
  const Doing doing(Activity::kDialog);
  if (testhost::Window* window = DialogWindow()) host_->WindowModel().Close(*window);
}

void Session::ReopenWindow() { RunCommand(); }

void Session::AddObject(const std::string& kind, const std::string& name, const std::vector<std::int32_t>& numbers,
                        const std::string& parentPath) {
  testhost::ObjectKind objectKind;
  if (!testhost::KindNamed(kind, objectKind)) throw UsageError{"unknown object kind '" + kind + "'"};
  for (std::int32_t number : numbers)
    if (number < 0) throw UsageError{"counts cannot be negative"};
  testhost::SceneObject* parent = parentPath.empty() ? nullptr : Object(parentPath);
  // The numbers in the order the event gives them: polygon POINTS POLYGONS NGONS,
  // point POINTS, a generator SEGMENTS (1 when not given).
  auto number = [&numbers](std::size_t i, std::int32_t otherwise) { return i < numbers.size() ? numbers[i] : otherwise; };
  testhost::ObjectShape shape;
  if (objectKind == testhost::ObjectKind::Polygon) shape = {number(0, 0), number(1, 0), number(2, 0), 1};
  if (objectKind == testhost::ObjectKind::Point) shape.points = number(0, 0);
  if (testhost::IsGenerator(objectKind)) shape.segments = number(0, 1);
  testhost::SceneObject* object = host_->SceneModel().AddObject(document_, objectKind, shape, parent);
  object->name = name;
  SceneChanged();
}

void Session::DeleteObject(const std::string& path) {
  host_->SceneModel().Remove(Object(path));
  SceneChanged();
}

void Session::MoveObject(const std::string& path, const std::string& parentPath) {
  testhost::SceneObject* parent = parentPath.empty() ? nullptr : Object(parentPath);
  if (!host_->SceneModel().MoveUnder(Object(path), parent))
    throw UsageError{"cannot move '" + path + "' below itself"};
  SceneChanged();
}

void Session::EditObject(const std::string& path, const std::string& field, std::int32_t value) {
  testhost::SceneObject* object = Object(path);
  if (value < 0) throw UsageError{"counts cannot be negative"};
  if (field == "points") object->points = value;
  else if (field == "polygons") object->polygons = value;
  else if (field == "ngons") object->ngons = value;
  else if (field == "segments") object->segments = value;
  else if (field == "name") throw UsageError{"names are not numbers"};
  else throw UsageError{"unknown field '" + field + "' (points, polygons, ngons, segments)"};
  SceneChanged();
}

void Session::SceneChanged() {
  const Doing doing(Activity::kDialog);
  if (testhost::Window* window = DialogWindow())
    host_->WindowModel().Send(*window, testhost::code::MciM, {{testhost::code::MciI, testhost::code::kSceneChanged}});
}

bool Session::Finish() {
  if (!finished_) {
    finished_ = true;
    const Doing doing(Activity::kUnload);
    const testhost::input::Phase phase("plug-in unload");
    host_->Unload();
  }
  return host_->Failures().empty();
}

DialogView Session::View() const { return ViewOf(DialogWindow()); }

std::string Session::PluginFile() const { return host_->PluginFile(); }

std::string Session::ActivePath() const {
  return document_->active != nullptr ? testhost::input::PathOf(document_->active) : "";
}

std::vector<testhost::input::ObjectPath> Session::ObjectPaths() const { return testhost::input::AllPaths(document_); }

std::vector<std::string> Session::TakeConsoleLines() {
  std::vector<std::string> lines;
  const auto& all = host_->Framework().LogLines();
  for (; consoleShown_ < all.size(); ++consoleShown_) lines.push_back(all[consoleShown_].text);
  return lines;
}

std::vector<std::string> Session::TakeMessageBoxes() {
  std::vector<std::string> boxes;
  const auto& all = host_->ApplicationModel().messageBoxes;
  for (; boxesShown_ < all.size(); ++boxesShown_) boxes.push_back(all[boxesShown_].first);
  return boxes;
}

std::vector<std::string> Session::TakeOpenedFiles() {
  std::vector<std::string> files;
  const auto& all = host_->ApplicationModel().openedFiles;
  for (; filesShown_ < all.size(); ++filesShown_) files.push_back(all[filesShown_]);
  return files;
}

std::vector<std::string> Session::Faults() const { return host_->Failures(); }

}  // namespace cli
