#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "testhost/application.h"
#include "testhost/bitmaps.h"
#include "testhost/commands.h"
#include "testhost/entry.h"
#include "testhost/kernel.h"
#include "testhost/ownership.h"
#include "testhost/resources.h"
#include "testhost/scene.h"
#include "testhost/tables.h"
#include "testhost/windows.h"

namespace testhost {

// A host path value: the object a path slot points to.
struct PathValue {
  std::string text;
};

// Redirects standard output into a buffer while at least one scope is open.
class StdoutCapture {
 public:
  StdoutCapture();
  ~StdoutCapture();
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;
  static std::string& Text();

 private:
  static int depth_;
  static int saved_;
  static int file_;
};

// The stand-in for the host application. It loads a fresh copy of the plug-in
// library, lays out the function-table record, implements the entries the plug-in
// uses, traps every other entry, records every call, and knows who owns every object
// it hands out. One host exists at a time.
class Host {
 public:
  enum class Mode { kLoadPlugin, kTablesOnly };
  explicit Host(std::string pluginFile = DefaultPluginFile(), Mode mode = Mode::kLoadPlugin);
  // The tables alone, for code linked into the test itself.
  static std::unique_ptr<Host> TablesOnly() { return std::make_unique<Host>(DefaultPluginFile(), Mode::kTablesOnly); }
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  static Host& Current();
  static bool Exists();
  static std::string DefaultPluginFile();

  // --- the library ---
  void Load();  // fresh copy, static initialisers run, the kernel binds and starts it
  // Unloads as the host does: the registered commands are destroyed, the last end
  // action is sent if the plug-in was initialised, the units end, the library goes;
  // then nothing the plug-in owned may be left.
  void Unload();
  bool Loaded() const { return library_ != nullptr; }
  // Fails the test for everything the plug-in still holds, and for any host object
  // it over-released; then forgets what it reported. Unload runs it.
  void CheckReleased();
  void* Symbol(const char* name) const;
  const std::string& PluginFile() const { return pluginFile_; }

  // --- the entry point ---
  int PluginMain(int action, void* p1 = nullptr, void* p2 = nullptr, void* p3 = nullptr);
  int Init();  // action 1 with the record and the plug-in's path
  int Start() { return PluginMain(action::kStart); }
  int End() { return PluginMain(action::kEnd); }
  int Message(int id, void* data = nullptr);
  int LifecycleCount() const { return lifecycleCount_; }

  // --- the framework kernel, the scene, the windows and the objects ---
  Kernel& Framework() { return *kernel_; }
  Scene& SceneModel() { return *scene_; }
  Windows& WindowModel() { return *windows_; }
  Resources& ResourceModel() { return *resources_; }
  Commands& CommandModel() { return *commands_; }
  Bitmaps& BitmapModel() { return *bitmaps_; }
  Application& ApplicationModel() { return *application_; }
  Ownership& Objects() { return *objects_; }
  // Unloads and loads a fresh copy, after `configure` has changed the kernel.
  template <typename F>
  void Reload(F&& configure) {
    if (Loaded()) Unload();
    configure(*kernel_);
    Load();
  }

  // --- the function-table record ---
  HostOSRecord& Record() { return record_; }
  void SetVersion(std::int32_t version) { record_.version = version; }
  void RemoveTable(Table table);
  void RestoreTable(Table table);
  void* TablePointer(Table table) const;
  // Makes an implemented entry answer its zero value (null, false, 0) without acting.
  void FailEntry(EntryId entry) {
    failing_.insert(entry);
    UpdatePlainCalls();
  }
  // Makes only the k-th call (1-based, counted from now) of an entry fail so.
  void FailEntryCall(EntryId entry, int k) {
    failingCall_[entry] = FailingCall{k, 0};
    UpdatePlainCalls();
  }
  void HealEntry(EntryId entry) {
    failing_.erase(entry);
    failingCall_.erase(entry);
    UpdatePlainCalls();
  }
  // Bools answered in a clean register (true) or with garbage in all but the low
  // byte (false, the default).
  static inline bool cleanBools = false;
  void SetCleanBoolAnswers(bool clean) { cleanBools = clean; }
  // Recording every call is what tests read; benchmarks turn it off.
  void SetRecording(bool on) {
    recording_ = on;
    UpdatePlainCalls();
  }
  bool Recording() const { return recording_; }
  bool HasInterceptions() const { return !overrides_.empty() || !failing_.empty() || !failingCall_.empty(); }
  // True while no call is recorded, overridden or failed: entries then run their
  // implementation straight away.
  static inline bool plainCalls = false;
  // Replaces what an entry does; `fn` must have the entry's signature.
  template <typename F>
  void OverrideEntry(EntryId entry, F* fn) {
    overrides_[entry] = reinterpret_cast<void*>(fn);
    UpdatePlainCalls();
  }
  void ClearOverride(EntryId entry) {
    overrides_.erase(entry);
    UpdatePlainCalls();
  }
  // Puts a raw value into an entry (a data entry, or a null to take it away).
  void SetRawEntry(EntryId entry, void* value);

  // --- what the host saw ---
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<Call> CallsTo(EntryId entry) const;
  std::vector<Call> CallsTo(const MethodId& method) const;
  std::size_t CountCalls(EntryId entry) const { return CallsTo(entry).size(); }
  std::size_t CountCalls(const MethodId& method) const { return CallsTo(method).size(); }
  void ClearCalls() { calls_.clear(); }
  // The entries the plug-in called so far, each once, in order of first call.
  std::vector<EntryId> EntriesCalled() const;
  // Everything the plug-in wrote to standard output.
  std::string Stdout() const;
  void ClearStdout();
  // Faults the host detected (trapped entries, broken contracts, misused objects).
  const std::vector<std::string>& Failures() const { return failures_; }
  void Fail(const std::string& message);
  void ClearFailures() { failures_.clear(); }

  // --- host path values ---
  PathValue* NewPath(const std::string& text, Owner owner, const std::string& origin);
  std::string PathText(const void* slot) const;  // text of the path in a slot
  std::size_t LivePaths() const { return livePaths_.size(); }
  bool DeletePath(PathValue* path, const std::string& route);
  bool IsLivePath(const void* path) const { return livePaths_.count(path) != 0; }
  PathValue* const* PluginPathSlot() const { return &pluginPath_; }
  // A host whose PathDestroy leaves a reference of its own in the slot, which the
  // holder then drops by the framework's counting convention.
  void LeaveReferencesInDestroyedPaths(bool on) { pathReferences_ = on; }
  bool LeavesReferencesInDestroyedPaths() const { return pathReferences_; }

  // --- used by the entry wrappers ---
  void Record(EntryId entry, std::vector<std::uint64_t> args);
  void RecordMethod(const MethodId& method, std::vector<std::uint64_t> args);
  void* OverrideFor(EntryId entry) const;
  // Whether this call of the entry fails (counts the call for FailEntryCall).
  bool IsFailing(EntryId entry);
  // Whether calls of the entry are made to fail, all of them or one.
  bool FailureArmed(EntryId entry) const { return failing_.count(entry) != 0 || failingCall_.count(entry) != 0; }
  void Install(EntryId entry, void* function, bool answers);
  // Whether the entry answers a value (null, false, 0 or a result code on failure).
  bool Answers(EntryId entry) const { return answering_.count(entry) != 0; }
  void ReportTrap(int table, int offset);

  // Runs `body` as a call into the plug-in (standard output captured). When the
  // outermost call returns, the host checks what the plug-in may not keep past it.
  template <typename F>
  auto IntoPlugin(F&& body) {
    struct Scope {
      Host& host;
      StdoutCapture capture;
      explicit Scope(Host& h) : host(h) { ++host.pluginDepth_; }
      ~Scope() {
        if (--host.pluginDepth_ == 0) host.AfterPluginCall();
      }
    } scope(*this);
    return body();
  }

 private:
  void BuildTables();
  void UpdatePlainCalls() { plainCalls = !recording_ && !HasInterceptions(); }
  void AfterPluginCall();

  std::string pluginFile_;
  std::string loadedCopy_;
  std::string loadDirectory_;
  void* library_ = nullptr;
  using PluginMainFn = std::int32_t (*)(std::int32_t, void*, void*, void*);
  PluginMainFn pluginMain_ = nullptr;

  std::unique_ptr<Ownership> objects_;  // first: every model registers with it
  std::unique_ptr<Kernel> kernel_;
  std::unique_ptr<Scene> scene_;
  std::unique_ptr<Windows> windows_;
  std::unique_ptr<Resources> resources_;
  std::unique_ptr<Bitmaps> bitmaps_;
  std::unique_ptr<Commands> commands_;
  std::unique_ptr<Application> application_;
  int lifecycleCount_ = 0;  // actions 1 sent minus actions 3 sent
  int pluginDepth_ = 0;
  HostOSRecord record_{};
  std::vector<std::vector<void*>> tables_;
  std::map<EntryId, void*> overrides_;
  std::set<EntryId> failing_;
  struct FailingCall {
    int k = 0;      // the call that fails
    int calls = 0;  // calls so far
  };
  std::map<EntryId, FailingCall> failingCall_;
  std::set<EntryId> answering_;
  // Calls and failures may come from any thread (jobs are posted from workers).
  std::mutex recordMutex_;
  std::vector<Call> calls_;
  std::vector<std::string> failures_;
  std::size_t stdoutMark_ = 0;
  bool recording_ = true;

  PathValue* pluginPath_ = nullptr;  // the slot handed over with action 1
  std::set<const void*> livePaths_;
  std::vector<std::unique_ptr<PathValue>> destroyedPaths_;
  bool pathReferences_ = false;
};

// Whether an entry answers something (a failure value can stand in for it).
template <typename F>
struct EntryAnswers;
template <typename R, typename... A>
struct EntryAnswers<R (*)(A...)> {
  static constexpr bool value = !std::is_void_v<R>;
};

// Puts the recorded form of an entry into its table; `Refuse` as for Entry.
template <const EntryId& Id, auto Fn, auto Refuse = nullptr>
void Install(Host& host) {
  host.Install(Id, reinterpret_cast<void*>(&Entry<Id, Fn, Refuse>::Served), EntryAnswers<decltype(Fn)>::value);
}

// Installers of the host's sub-tables (src/tables/).
void InstallPathEntries(Host& host);
void InstallSceneEntries(Host& host);
void InstallWindowEntries(Host& host);
void InstallResourceEntries(Host& host);
void InstallCommandEntries(Host& host);

}  // namespace testhost
