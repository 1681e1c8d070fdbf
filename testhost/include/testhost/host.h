#pragma once
#include <bit>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "testhost/commands.h"
#include "testhost/kernel.h"
#include "testhost/resources.h"
#include "testhost/scene.h"
#include "testhost/windows.h"
#include "testhost/tables.h"

namespace testhost {

// One call the plug-in made into a host table, with its arguments as raw words
// (pointers as addresses, integers sign-extended, floating point as bits).
struct Call {
  EntryId entry;
  std::vector<std::uint64_t> args;

  std::int64_t Int(std::size_t i) const { return static_cast<std::int64_t>(args.at(i)); }
  template <typename T>
  T* Ptr(std::size_t i) const {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(args.at(i)));
  }
  double Float(std::size_t i) const { return std::bit_cast<double>(args.at(i)); }
};

template <typename T>
std::uint64_t ToRaw(T value) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<std::uintptr_t>(value);
  else if constexpr (std::is_floating_point_v<T>)
    return std::bit_cast<std::uint64_t>(static_cast<double>(value));
  else if constexpr (std::is_enum_v<T>)
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
  else
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
}

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
// uses, traps every other entry, and records every call. One host exists at a time.
class Host {
 public:
  enum class Mode { kLoadPlugin, kTablesOnly };
  explicit Host(std::string pluginFile = DefaultPluginFile(), Mode mode = Mode::kLoadPlugin);
  // The tables alone, for code linked into the test itself.
  static std::unique_ptr<Host> TablesOnly() {
    return std::make_unique<Host>(DefaultPluginFile(), Mode::kTablesOnly);
  }
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  static Host& Current();
  static std::string DefaultPluginFile();

  // --- the library ---
  void Load();    // fresh copy, static initialisers run
  void Unload();  // dlclose; checks that the library really went
  bool Loaded() const { return library_ != nullptr; }
  void* Symbol(const char* name) const;
  const std::string& PluginFile() const { return pluginFile_; }

  // --- the entry point ---
  int PluginMain(int action, void* p1 = nullptr, void* p2 = nullptr, void* p3 = nullptr);
  int Init();  // action 1 with the record and the plug-in's path
  int Start() { return PluginMain(2); }
  int End() { return PluginMain(3); }
  int Message(int id, void* data = nullptr);

  // --- the framework kernel, the scene and the windows ---
  Kernel& Framework() { return *kernel_; }
  Scene& SceneModel() { return *scene_; }
  Windows& WindowModel() { return *windows_; }
  Resources& ResourceModel() { return *resources_; }
  Commands& CommandModel() { return *commands_; }
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
  void HealEntry(EntryId entry) {
    failing_.erase(entry);
    UpdatePlainCalls();
  }
  // Recording every call is what tests read; benchmarks turn it off.
  void SetRecording(bool on) {
    recording_ = on;
    UpdatePlainCalls();
  }
  bool Recording() const { return recording_; }
  bool HasInterceptions() const { return !overrides_.empty() || !failing_.empty(); }
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
  std::size_t CountCalls(EntryId entry) const { return CallsTo(entry).size(); }
  void ClearCalls() { calls_.clear(); }
  // Everything the plug-in wrote to standard output.
  std::string Stdout() const;
  void ClearStdout();
  // Faults the host detected (trapped entries, misuse of host objects).
  const std::vector<std::string>& Failures() const { return failures_; }
  void Fail(const std::string& message);
  void ClearFailures() { failures_.clear(); }

  // --- host path values ---
  PathValue* NewPath(const std::string& text);
  std::string PathText(const void* slot) const;  // text of the path in a slot
  std::size_t LivePaths() const { return livePaths_.size(); }
  void DeletePath(PathValue* path);
  bool IsLivePath(const void* path) const { return livePaths_.count(path) != 0; }

  // --- used by the entry wrappers ---
  void Record(EntryId entry, std::vector<std::uint64_t> args);
  void* OverrideFor(EntryId entry) const;
  bool IsFailing(EntryId entry) const { return failing_.count(entry) != 0; }
  void Install(EntryId entry, void* function);
  void ReportTrap(int table, int offset);

  // Runs `body` as a call into the plug-in (standard output captured).
  template <typename F>
  auto IntoPlugin(F&& body) {
    StdoutCapture capture;
    return body();
  }

 private:
  void BuildTables();
  void UpdatePlainCalls() { plainCalls = !recording_ && !HasInterceptions(); }

  std::string pluginFile_;
  std::string loadedCopy_;
  std::string loadDirectory_;
  void* library_ = nullptr;
  using PluginMainFn = std::int32_t (*)(std::int32_t, void*, void*, void*);
  PluginMainFn pluginMain_ = nullptr;

  std::unique_ptr<Kernel> kernel_;
  std::unique_ptr<Scene> scene_;
  std::unique_ptr<Windows> windows_;
  std::unique_ptr<Resources> resources_;
  std::unique_ptr<Commands> commands_;
  int lifecycleCount_ = 0;  // actions 1 sent minus actions 3 sent
  HostOSRecord record_{};
  std::vector<std::vector<void*>> tables_;
  std::map<EntryId, void*> overrides_;
  std::set<EntryId> failing_;
  std::vector<Call> calls_;
  std::vector<std::string> failures_;
  std::size_t stdoutMark_ = 0;
  bool recording_ = true;

  PathValue* pluginPath_ = nullptr;  // the slot handed over with action 1
  std::set<const void*> livePaths_;
};

// The wrapper every implemented entry runs through: it records the call, then
// applies a test's override or failure, then runs the host's implementation.
template <EntryId Id, auto Fn>
struct Entry;

template <EntryId Id, typename R, typename... A, R (*Fn)(A...)>
struct Entry<Id, Fn> {
  static constexpr EntryId kId = Id;
  static R Call(A... args) {
    if (Host::plainCalls) return Fn(args...);
    Host& host = Host::Current();
    if (host.Recording()) host.Record(kId, {ToRaw(args)...});
    if (host.HasInterceptions()) {
      if (void* replacement = host.OverrideFor(kId))
        return reinterpret_cast<R (*)(A...)>(replacement)(args...);
      if (host.IsFailing(kId)) {
        if constexpr (std::is_void_v<R>) return;
        else return R{};
      }
    }
    return Fn(args...);
  }
  static void InstallInto(Host& host) { host.Install(kId, reinterpret_cast<void*>(&Call)); }
};

// Installers of the host's subjects.
void InstallPathEntries(Host& host);

}  // namespace testhost
