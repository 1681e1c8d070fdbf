#pragma once
// The stand-in for the host application. It loads a fresh copy of the plug-in
// library, hands it the function-table record, plays the framework kernel, holds
// the scene, the windows, the resources and the commands, records every call and
// knows who owns every object it hands out. One host exists at a time.
//
// Each part is a model of its own (fault_log.h, host_tables.h, ownership.h,
// kernel.h, scene.h, windows.h, ...) that takes only the parts it uses; the host
// makes them, wires them and drives the library's life.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "testhost/application.h"
#include "testhost/bitmaps.h"
#include "testhost/commands.h"
#include "testhost/current.h"
#include "testhost/fault_log.h"
#include "testhost/host_tables.h"
#include "testhost/kernel.h"
#include "testhost/ownership.h"
#include "testhost/paths.h"
#include "testhost/plugin_calls.h"
#include "testhost/resources.h"
#include "testhost/scene.h"
#include "testhost/windows.h"

namespace testhost {

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
  // Unloads and loads a fresh copy, after `configure` has changed the kernel.
  template <typename F>
  void Reload(F&& configure) {
    if (Loaded()) Unload();
    configure(*kernel_);
    Load();
  }

  // --- the entry point ---
  int PluginMain(int action, void* p1 = nullptr, void* p2 = nullptr, void* p3 = nullptr);
  int Init();  // action 1 with the record and the plug-in's path
  int Start() { return PluginMain(action::kStart); }
  int End() { return PluginMain(action::kEnd); }
  int Message(int id, void* data = nullptr);
  int LifecycleCount() const { return lifecycleCount_; }
  // Runs `body` as a call into the plug-in (standard output captured). When the
  // outermost call returns, the host checks what the plug-in may not keep past it.
  template <typename F>
  auto IntoPlugin(F&& body) {
    return calls_.Into(std::forward<F>(body));
  }

  // --- the parts ---
  HostTables& Tables() { return tables_; }
  Kernel& Framework() { return *kernel_; }
  Scene& SceneModel() { return *scene_; }
  Windows& WindowModel() { return *windows_; }
  Resources& ResourceModel() { return *resources_; }
  Commands& CommandModel() { return *commands_; }
  Bitmaps& BitmapModel() { return *bitmaps_; }
  Application& ApplicationModel() { return *application_; }
  Ownership& Objects() { return *objects_; }
  Paths& PathModel() { return *paths_; }

  // --- the function-table record and its entries (see HostTables) ---
  HostOSRecord& Record() { return tables_.Record(); }
  void SetVersion(std::int32_t version) { tables_.Record().version = version; }
  void RemoveTable(Table table) { tables_.RemoveTable(table); }
  void RestoreTable(Table table) { tables_.RestoreTable(table); }
  void* TablePointer(Table table) const { return tables_.TablePointer(table); }
  void FailEntry(EntryId entry) { tables_.FailEntry(entry); }
  void FailEntryCall(EntryId entry, int k) { tables_.FailEntryCall(entry, k); }
  void HealEntry(EntryId entry) { tables_.HealEntry(entry); }
  template <typename F>
  void OverrideEntry(EntryId entry, F* fn) {
    tables_.OverrideEntry(entry, reinterpret_cast<void*>(fn));
  }
  void ClearOverride(EntryId entry) { tables_.ClearOverride(entry); }
  void SetRawEntry(EntryId entry, void* value) { tables_.SetRawEntry(entry, value); }
  void SetRecording(bool on) { tables_.SetRecording(on); }
  bool Recording() const { return tables_.Recording(); }
  void SetCleanBoolAnswers(bool clean) { tables_.SetCleanBoolAnswers(clean); }
  // For benchmarks only. The bare host gives the same answers as the strict one,
  // which is the default, but the entries a count calls per object and its
  // modeling commands answer straight from the scene: no argument contracts, no
  // call records, no failures or overrides, and their results and lists kept out of
  // the ownership registry (bare_scene_entries.cpp). A benchmark then measures the
  // plug-in's own cost, not the checks that make a wrong plug-in fail a test.
  void SetBareAnswers(bool on);
  bool BareAnswers() const { return !strictEntries_.empty(); }

  // --- what the host saw ---
  const std::vector<Call>& Calls() const { return tables_.Calls(); }
  std::vector<Call> CallsTo(EntryId entry) const { return tables_.CallsTo(entry); }
  std::vector<Call> CallsTo(const MethodId& method) const { return tables_.CallsTo(method); }
  std::size_t CountCalls(EntryId entry) const { return CallsTo(entry).size(); }
  std::size_t CountCalls(const MethodId& method) const { return CallsTo(method).size(); }
  void ClearCalls() { tables_.ClearCalls(); }
  std::vector<EntryId> EntriesCalled() const { return tables_.EntriesCalled(); }
  // Everything the plug-in wrote to standard output.
  std::string Stdout() const;
  void ClearStdout();
  // Faults the host detected (trapped entries, broken contracts, misused objects).
  const std::vector<std::string>& Failures() const { return faults_.Failures(); }
  void Fail(const std::string& message) { faults_.Fail(message); }
  void ClearFailures() { faults_.Clear(); }

  // --- host path values (see Paths) ---
  std::string PathText(const void* slot) const { return paths_->Text(slot); }
  std::size_t LivePaths() const { return paths_->Live(); }
  PathValue* const* PluginPathSlot() const { return &pluginPath_; }

 private:
  void AfterPluginCall();
  void RemoveLoadedCopy();
  std::string WithoutCopy(std::string text) const;

  std::string pluginFile_;
  std::string loadedCopy_;
  std::string loadDirectory_;
  void* library_ = nullptr;
  using PluginMainFn = std::int32_t (*)(std::int32_t, void*, void*, void*);
  PluginMainFn pluginMain_ = nullptr;

  // In the order each needs the ones before.
  FaultLog faults_;
  HostTables tables_;
  PluginCalls calls_;
  std::unique_ptr<Ownership> objects_;
  std::unique_ptr<Paths> paths_;
  std::unique_ptr<Kernel> kernel_;
  std::unique_ptr<Scene> scene_;
  std::unique_ptr<Windows> windows_;
  std::unique_ptr<Resources> resources_;
  std::unique_ptr<Bitmaps> bitmaps_;
  std::unique_ptr<Commands> commands_;
  std::unique_ptr<Application> application_;
  HostParts parts_{};
  int lifecycleCount_ = 0;  // actions 1 sent minus actions 3 sent
  std::size_t stdoutMark_ = 0;
  PathValue* pluginPath_ = nullptr;  // the slot handed over with action 1
  std::vector<std::pair<EntryId, void*>> strictEntries_;  // what the bare entries replaced
};

}  // namespace testhost
