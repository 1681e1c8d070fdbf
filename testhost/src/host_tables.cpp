#include "testhost/host_tables.h"

#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "testhost/fault_log.h"

namespace testhost {

namespace {
HostTables* g_current = nullptr;
std::thread::id g_mainThread;
}  // namespace

// ---- hooks of the entry and method wrappers ----

bool PlainCalls() { return HostTables::plainCalls; }
void RecordCall(const EntryId& entry, std::vector<std::uint64_t> args) {
  HostTables& tables = HostTables::Current();
  if (tables.Recording()) tables.Record(entry, std::move(args));
}
void RecordMethodCall(const MethodId& method, std::vector<std::uint64_t> args) {
  HostTables& tables = HostTables::Current();
  if (tables.Recording()) tables.RecordMethod(method, std::move(args));
}
void* EntryOverride(const EntryId& entry) { return HostTables::Current().OverrideFor(entry); }
bool EntryFailing(const EntryId& entry) { return HostTables::Current().IsFailing(entry); }
bool CleanBoolAnswers() { return HostTables::cleanBools; }
bool OnMainThread() { return std::this_thread::get_id() == g_mainThread; }
void WrongThread(const std::string& operation) {
  FaultLog::Current().Fail(operation + ": called on a thread other than the host's main thread");
}

// ---- the tables ----

HostTables::HostTables() {
  if (g_current != nullptr) throw std::logic_error("only one test host at a time");
  g_current = this;
  g_mainThread = std::this_thread::get_id();
  cleanBools = false;
  UpdatePlainCalls();
  const std::vector<void*>& traps = Traps();
  tables_.assign(kTableCount, std::vector<void*>(kEntriesPerTable));
  for (int t = 0; t < kTableCount; ++t) {
    for (int e = 0; e < kEntriesPerTable; ++e)
      tables_[static_cast<std::size_t>(t)][static_cast<std::size_t>(e)] =
          traps[static_cast<std::size_t>(t * kEntriesPerTable + e)];
    record_.tables[t] = tables_[static_cast<std::size_t>(t)].data();
  }
}

HostTables::~HostTables() {
  if (g_current == this) g_current = nullptr;
}

HostTables& HostTables::Current() {
  if (g_current == nullptr) std::abort();
  return *g_current;
}

void HostTables::RemoveTable(Table table) { record_.tables[static_cast<int>(table)] = nullptr; }

void HostTables::RestoreTable(Table table) {
  record_.tables[static_cast<int>(table)] = tables_[static_cast<std::size_t>(table)].data();
}

void* HostTables::TablePointer(Table table) const { return record_.tables[static_cast<int>(table)]; }

bool HostTables::Offered(const EntryId& entry) const {
  const auto* table = static_cast<void* const*>(TablePointer(entry.table));
  return table != nullptr && table[entry.offset / 8] != nullptr;
}

void HostTables::SetRawEntry(EntryId entry, void* value) {
  tables_[static_cast<std::size_t>(entry.table)][static_cast<std::size_t>(entry.offset / 8)] = value;
}

void* HostTables::RawEntry(EntryId entry) const {
  return tables_[static_cast<std::size_t>(entry.table)][static_cast<std::size_t>(entry.offset / 8)];
}

void HostTables::Install(EntryId entry, void* function, bool answers) {
  if (entry.offset % 8 != 0 || entry.offset / 8 >= kEntriesPerTable)
    throw std::logic_error("bad entry offset " + Describe(entry));
  SetRawEntry(entry, function);
  if (answers) answering_.insert(entry);
}

void HostTables::FailEntry(EntryId entry) {
  failing_.insert(entry);
  UpdatePlainCalls();
}

void HostTables::FailEntryCall(EntryId entry, int k) {
  failingCall_[entry] = FailingCall{k, 0};
  UpdatePlainCalls();
}

void HostTables::HealEntry(EntryId entry) {
  failing_.erase(entry);
  failingCall_.erase(entry);
  UpdatePlainCalls();
}

void HostTables::OverrideEntry(EntryId entry, void* function) {
  overrides_[entry] = function;
  UpdatePlainCalls();
}

void HostTables::ClearOverride(EntryId entry) {
  overrides_.erase(entry);
  UpdatePlainCalls();
}

bool HostTables::IsFailing(EntryId entry) {
  if (failing_.count(entry) != 0) return true;
  if (failingCall_.empty()) return false;
  std::lock_guard<std::mutex> lock(recordMutex_);  // entries are called from workers too
  auto found = failingCall_.find(entry);
  return found != failingCall_.end() && ++found->second.calls == found->second.k;
}

void* HostTables::OverrideFor(EntryId entry) const {
  if (overrides_.empty()) return nullptr;
  auto found = overrides_.find(entry);
  return found != overrides_.end() ? found->second : nullptr;
}

void HostTables::SetRecording(bool on) {
  recording_ = on;
  UpdatePlainCalls();
}

// ---- what the host saw ----

void HostTables::Record(EntryId entry, std::vector<std::uint64_t> args) {
  const std::lock_guard<std::mutex> lock(recordMutex_);
  calls_.push_back(Call{entry, {}, std::move(args)});
}

void HostTables::RecordMethod(const MethodId& method, std::vector<std::uint64_t> args) {
  const std::lock_guard<std::mutex> lock(recordMutex_);
  calls_.push_back(Call{{}, method, std::move(args)});
}

std::vector<Call> HostTables::CallsTo(EntryId entry) const {
  std::vector<Call> matching;
  for (const Call& call : calls_)
    if (!call.IsMethod() && call.entry == entry) matching.push_back(call);
  return matching;
}

std::vector<Call> HostTables::CallsTo(const MethodId& method) const {
  std::vector<Call> matching;
  for (const Call& call : calls_)
    if (call.IsMethod() && std::string(call.method.interfaceName) == method.interfaceName &&
        std::string(call.method.method) == method.method)
      matching.push_back(call);
  return matching;
}

std::vector<EntryId> HostTables::EntriesCalled() const {
  std::vector<EntryId> entries;
  std::set<EntryId> seen;
  for (const Call& call : calls_)
    if (!call.IsMethod() && seen.insert(call.entry).second) entries.push_back(call.entry);
  return entries;
}

}  // namespace testhost
