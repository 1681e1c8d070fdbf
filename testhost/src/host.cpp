#include "testhost/host.h"

#include "testhost/system.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

namespace testhost {

namespace {

Host* g_current = nullptr;

// Every entry the host does not implement is a distinct trap, so that a call to it
// names its table and offset.
template <std::size_t I>
std::uintptr_t Trap() {
  Host::Current().ReportTrap(static_cast<int>(I / kEntriesPerTable), static_cast<int>(I % kEntriesPerTable) * 8);
  return 0;
}

template <std::size_t... I>
std::vector<void*> MakeTraps(std::index_sequence<I...>) {
  return {reinterpret_cast<void*>(&Trap<I>)...};
}

const std::vector<void*>& Traps() {
  static const std::vector<void*> traps = MakeTraps(std::make_index_sequence<kTableCount * kEntriesPerTable>());
  return traps;
}

}  // namespace

// ---- hooks of the entry and method wrappers ----

bool PlainCalls() { return Host::plainCalls; }
void RecordCall(const EntryId& entry, std::vector<std::uint64_t> args) {
  Host& host = Host::Current();
  if (host.Recording()) host.Record(entry, std::move(args));
}
void RecordMethodCall(const MethodId& method, std::vector<std::uint64_t> args) {
  Host& host = Host::Current();
  if (host.Recording()) host.RecordMethod(method, std::move(args));
}
void* EntryOverride(const EntryId& entry) { return Host::Current().OverrideFor(entry); }
bool EntryFailing(const EntryId& entry) { return Host::Current().IsFailing(entry); }
bool CleanBoolAnswers() { return Host::cleanBools; }

// ---- the host ----

Host::Host(std::string pluginFile, Mode mode) : pluginFile_(std::move(pluginFile)) {
  if (g_current != nullptr) throw std::logic_error("only one test host at a time");
  g_current = this;
  record_.version = kHostVersion;
  cleanBools = false;
  stdoutMark_ = StdoutCapture::Text().size();
  UpdatePlainCalls();
  objects_ = std::make_unique<Ownership>(*this);
  kernel_ = std::make_unique<Kernel>(*this);
  scene_ = std::make_unique<Scene>(*this);
  windows_ = std::make_unique<Windows>(*this);
  resources_ = std::make_unique<Resources>(*this);
  bitmaps_ = std::make_unique<Bitmaps>(*this);
  commands_ = std::make_unique<Commands>(*this);
  application_ = std::make_unique<Application>();
  BuildTables();
  pluginPath_ = NewPath(pluginFile_, Owner::kHost, "the plug-in's file path (action 1)");
  if (mode == Mode::kLoadPlugin) Load();
}

Host::~Host() {
  if (Loaded()) Unload();
  // Whatever a test left the plug-in holding goes with the host.
  for (const void* path : livePaths_) delete static_cast<const PathValue*>(path);
  livePaths_.clear();
  application_.reset();
  commands_.reset();
  bitmaps_.reset();
  resources_.reset();
  windows_.reset();
  scene_.reset();
  kernel_.reset();
  g_current = nullptr;
}

Host& Host::Current() {
  if (g_current == nullptr) std::abort();
  return *g_current;
}

bool Host::Exists() { return g_current != nullptr; }

std::string Host::DefaultPluginFile() {
  if (const char* fromEnvironment = getenv("STATLUME_PLUGIN_FILE")) return fromEnvironment;
  return STATLUME_DEFAULT_PLUGIN_FILE;
}

void Host::BuildTables() {
  const std::vector<void*>& traps = Traps();
  tables_.assign(kTableCount, std::vector<void*>(kEntriesPerTable));
  for (int t = 0; t < kTableCount; ++t) {
    for (int e = 0; e < kEntriesPerTable; ++e) tables_[t][e] = traps[static_cast<std::size_t>(t * kEntriesPerTable + e)];
    record_.tables[t] = tables_[t].data();
  }
  InstallPathEntries(*this);
  InstallSceneEntries(*this);
  InstallWindowEntries(*this);
  InstallResourceEntries(*this);
  InstallCommandEntries(*this);
}

void Host::Load() {
  // A fresh copy under a new name: the loader never hands back an earlier instance,
  // so every load runs the library's static initialisers from scratch.
  loadDirectory_ = system::MakeTemporaryFolder("statlume-host-");
  loadedCopy_ = (std::filesystem::path(loadDirectory_) / std::filesystem::path(pluginFile_).filename()).string();
  std::filesystem::copy_file(pluginFile_, loadedCopy_);
  std::string error;
  library_ = IntoPlugin([&] { return system::OpenLibrary(loadedCopy_, error); });
  if (library_ == nullptr) throw std::runtime_error("loading " + loadedCopy_ + " failed: " + error);
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
  std::error_code ignored;
  std::filesystem::remove_all(loadDirectory_, ignored);
  if (kernel_->Jobs().Held() != 0) Fail("the host still held a job of the plug-in at unload");
  CheckReleased();
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

int Host::Init() { return PluginMain(action::kInit, &record_, nullptr, &pluginPath_); }

int Host::Message(int id, void* data) {
  return PluginMain(action::kMessage, reinterpret_cast<void*>(static_cast<std::intptr_t>(id)), data);
}

void Host::AfterPluginCall() {
  kernel_->CheckHostObjects();
  windows_->AfterPluginCall();
  scene_->AfterPluginCall();
}

bool Host::IsFailing(EntryId entry) {
  if (failing_.count(entry) != 0) return true;
  if (failingCall_.empty()) return false;
  std::lock_guard<std::mutex> lock(recordMutex_);  // entries are called from workers too
  auto found = failingCall_.find(entry);
  return found != failingCall_.end() && ++found->second.calls == found->second.k;
}

void Host::RemoveTable(Table table) { record_.tables[static_cast<int>(table)] = nullptr; }

void Host::RestoreTable(Table table) {
  record_.tables[static_cast<int>(table)] = tables_[static_cast<std::size_t>(table)].data();
}

void* Host::TablePointer(Table table) const { return record_.tables[static_cast<int>(table)]; }

void Host::SetRawEntry(EntryId entry, void* value) {
  tables_[static_cast<std::size_t>(entry.table)][static_cast<std::size_t>(entry.offset / 8)] = value;
}

std::vector<Call> Host::CallsTo(EntryId entry) const {
  std::vector<Call> matching;
  for (const Call& call : calls_)
    if (!call.IsMethod() && call.entry == entry) matching.push_back(call);
  return matching;
}

std::vector<Call> Host::CallsTo(const MethodId& method) const {
  std::vector<Call> matching;
  for (const Call& call : calls_)
    if (call.IsMethod() && std::string(call.method.interfaceName) == method.interfaceName &&
        std::string(call.method.method) == method.method)
      matching.push_back(call);
  return matching;
}

std::vector<EntryId> Host::EntriesCalled() const {
  std::vector<EntryId> entries;
  std::set<EntryId> seen;
  for (const Call& call : calls_)
    if (!call.IsMethod() && seen.insert(call.entry).second) entries.push_back(call.entry);
  return entries;
}

std::string Host::Stdout() const { return StdoutCapture::Text().substr(stdoutMark_); }

void Host::ClearStdout() { stdoutMark_ = StdoutCapture::Text().size(); }

void Host::Fail(const std::string& message) {
  const std::lock_guard<std::mutex> lock(recordMutex_);
  failures_.push_back(message);
}

void Host::Record(EntryId entry, std::vector<std::uint64_t> args) {
  const std::lock_guard<std::mutex> lock(recordMutex_);
  calls_.push_back(Call{entry, {}, std::move(args)});
}

void Host::RecordMethod(const MethodId& method, std::vector<std::uint64_t> args) {
  const std::lock_guard<std::mutex> lock(recordMutex_);
  calls_.push_back(Call{{}, method, std::move(args)});
}

void* Host::OverrideFor(EntryId entry) const {
  if (overrides_.empty()) return nullptr;
  auto found = overrides_.find(entry);
  return found != overrides_.end() ? found->second : nullptr;
}

void Host::Install(EntryId entry, void* function, bool answers) {
  if (entry.offset % 8 != 0 || entry.offset / 8 >= kEntriesPerTable)
    throw std::logic_error("bad entry offset " + Describe(entry));
  SetRawEntry(entry, function);
  if (answers) answering_.insert(entry);
}

void Host::ReportTrap(int table, int offset) {
  Fail("call to an entry the host does not implement: " + Describe(EntryId{static_cast<Table>(table), offset}));
}

PathValue* Host::NewPath(const std::string& text, Owner owner, const std::string& origin) {
  auto* path = new PathValue{text};
  livePaths_.insert(path);
  objects_->HandOut(path, "path value", owner, origin, owner == Owner::kPlugin ? Describe(entry::PathDestroy) : "");
  return path;
}

bool Host::DeletePath(PathValue* path, const std::string& route) {
  if (livePaths_.count(path) == 0) {
    objects_->GiveBack(path, route);  // names it, or says the host never made it
    return false;
  }
  if (!objects_->GiveBack(path, route)) return false;
  livePaths_.erase(path);
  destroyedPaths_.emplace_back(path);  // kept, so that a stale slot never names a new path
  return true;
}

std::string Host::PathText(const void* slot) const {
  const auto* path = *static_cast<PathValue* const*>(slot);
  return path != nullptr && IsLivePath(path) ? path->text : std::string();
}

}  // namespace testhost
