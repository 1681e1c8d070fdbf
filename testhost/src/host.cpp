#include "testhost/host.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "testhost/framework_interfaces.h"
#include "testhost/system.h"
#include "testhost/table_installers.h"

namespace testhost {

namespace {
Host* g_current = nullptr;
}  // namespace

Host::Host(std::string pluginFile, Mode mode)
    : pluginFile_(std::move(pluginFile)), calls_([this] { AfterPluginCall(); }) {
  g_current = this;
  tables_.Record().version = kHostVersion;
  stdoutMark_ = StdoutCapture::Text().size();
  objects_ = std::make_unique<Ownership>(faults_);
  paths_ = std::make_unique<Paths>(*objects_);
  kernel_ = std::make_unique<Kernel>(faults_, *objects_, calls_, FrameworkInterfaces());
  scene_ = std::make_unique<Scene>(faults_, *objects_);
  windows_ = std::make_unique<Windows>(faults_, *objects_, calls_, tables_);
  resources_ = std::make_unique<Resources>(*kernel_, *objects_);
  bitmaps_ = std::make_unique<Bitmaps>(*objects_);
  commands_ = std::make_unique<Commands>(*kernel_, *objects_, *bitmaps_, *scene_, calls_);
  application_ = std::make_unique<Application>();
  parts_ = HostParts{objects_.get(),  paths_.get(),   kernel_.get(),   scene_.get(),      windows_.get(),
                     resources_.get(), bitmaps_.get(), commands_.get(), application_.get()};
  SetCurrentParts(&parts_);
  InstallEveryEntry(tables_);
  pluginPath_ = paths_->New(pluginFile_, Owner::kHost, "the plug-in's file path (action 1)");
  if (mode == Mode::kLoadPlugin) Load();
}

Host::~Host() {
  if (Loaded()) Unload();
  application_.reset();
  commands_.reset();
  bitmaps_.reset();
  resources_.reset();
  windows_.reset();
  scene_.reset();
  kernel_.reset();
  paths_.reset();
  SetCurrentParts(nullptr);
  g_current = nullptr;
}

Host& Host::Current() {
  if (g_current == nullptr) std::abort();
  return *g_current;
}

void Host::Load() {
  if (const std::string problem = system::LibraryFileProblem(pluginFile_); !problem.empty())
    throw std::runtime_error(problem);
  // A fresh copy under a new name: the loader never hands back an earlier instance,
  // so every load runs the library's static initialisers from scratch.
  loadDirectory_ = system::MakeTemporaryFolder("statlume-host-");
  system::TrackTemporary(loadDirectory_);
  loadedCopy_ = (std::filesystem::path(loadDirectory_) / std::filesystem::path(pluginFile_).filename()).string();
  system::TrackTemporary(loadedCopy_);
  std::error_code copied;
  std::filesystem::copy_file(pluginFile_, loadedCopy_, copied);
  if (copied) {
    RemoveLoadedCopy();
    throw std::runtime_error("cannot copy it into " + loadDirectory_ + ": " + copied.message());
  }
  std::string error;
  library_ = IntoPlugin([&] { return system::OpenLibrary(loadedCopy_, error); });
  // Once loaded, the library needs its file no more: the copy goes now, so that
  // nothing is left however the process ends.
  RemoveLoadedCopy();
  if (library_ == nullptr) throw std::runtime_error("the loader refused it: " + WithoutCopy(error));
  pluginMain_ = reinterpret_cast<PluginMainFn>(system::LibrarySymbol(library_, "plugin_main"));
  if (pluginMain_ == nullptr) Fail("the plug-in exports no plugin_main");
  lifecycleCount_ = 0;
  // The kernel reads the module record, binds it and starts the units.
  void* framework = system::LibrarySymbol(library_, "g_framework");
  if (framework == nullptr) {
    Fail("the plug-in exports no g_framework");
    return;
  }
  IntoPlugin([&] {
    kernel_->Bind(framework);
    kernel_->RunStartFunctions();
    return 0;
  });
}

void Host::Unload() {
  // Unloading plug-ins destroys the commands they registered first, then ends the
  // plug-in with its last end action.
  commands_->DestroyAll();
  while (lifecycleCount_ > 0 && pluginMain_ != nullptr) End();
  IntoPlugin([&] {
    kernel_->RunEndFunctions();
    return system::CloseLibrary(library_) ? 0 : 1;
  });
  library_ = nullptr;
  pluginMain_ = nullptr;
  if (system::LibraryStillLoaded(loadedCopy_)) Fail("the plug-in library stayed loaded after it was closed");
  RemoveLoadedCopy();
  if (kernel_->Jobs().Held() != 0) Fail("the host still held a job of the plug-in at unload");
  CheckReleased();
}

// Where the loader keeps a loaded library's file (Windows), it goes at unload.
void Host::RemoveLoadedCopy() {
  std::error_code ignored;
  std::filesystem::remove_all(loadDirectory_, ignored);
  if (std::filesystem::exists(loadDirectory_, ignored)) return;
  system::UntrackTemporary(loadedCopy_);
  system::UntrackTemporary(loadDirectory_);
}

// The loader's words name the copy; the user knows the plug-in's own file, which
// the message names already.
std::string Host::WithoutCopy(std::string text) const {
  if (!loadedCopy_.empty() && text.rfind(loadedCopy_ + ": ", 0) == 0) text.erase(0, loadedCopy_.size() + 2);
  for (std::size_t at; !loadedCopy_.empty() && (at = text.find(loadedCopy_)) != std::string::npos;)
    text.replace(at, loadedCopy_.size(), pluginFile_);
  return text;
}

void Host::CheckReleased() {
  kernel_->CheckReleased();
  objects_->CheckNothingHeld([this](const std::string& route) { return kernel_->Offers(route); });
  objects_->RetirePluginObjects();
}

void* Host::Symbol(const char* name) const {
  return library_ != nullptr ? system::LibrarySymbol(library_, name) : nullptr;
}

int Host::PluginMain(int action, void* p1, void* p2, void* p3) {
  if (pluginMain_ == nullptr) throw std::logic_error("plug-in not loaded");
  if (action == action::kInit) ++lifecycleCount_;
  if (action == action::kEnd) --lifecycleCount_;
  return IntoPlugin([&] { return pluginMain_(action, p1, p2, p3); });
}

int Host::Init() { return PluginMain(action::kInit, &tables_.Record(), nullptr, &pluginPath_); }

int Host::Message(int id, void* data) {
  return PluginMain(action::kMessage, reinterpret_cast<void*>(static_cast<std::intptr_t>(id)), data);
}

void Host::SetBareAnswers(bool on) {
  if (on == BareAnswers()) return;
  scene_->SetBare(on);
  if (!on) {
    for (const auto& [entry, function] : strictEntries_) tables_.SetRawEntry(entry, function);
    strictEntries_.clear();
    return;
  }
  for (const auto& [entry, function] : BareSceneEntries()) {
    strictEntries_.emplace_back(entry, tables_.RawEntry(entry));
    tables_.SetRawEntry(entry, function);
  }
}

void Host::AfterPluginCall() {
  kernel_->CheckHostObjects();
  windows_->AfterPluginCall();
  scene_->AfterPluginCall();
}

std::string Host::Stdout() const { return StdoutCapture::Text().substr(stdoutMark_); }

void Host::ClearStdout() { stdoutMark_ = StdoutCapture::Text().size(); }

}  // namespace testhost
