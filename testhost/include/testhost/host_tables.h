#pragma once
// The host's function-table record as the plug-in receives it: 37 sub-tables whose
// entries are the host's implementations wrapped by Entry, or traps that name their
// table and offset. It also keeps what a test changes about the entries (missing
// tables, failing or replaced entries) and records every call the plug-in makes.
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "testhost/entry.h"
#include "testhost/tables.h"

namespace testhost {

class HostTables {
 public:
  HostTables();  // every entry a trap; installers put the implementations in
  ~HostTables();
  HostTables(const HostTables&) = delete;
  HostTables& operator=(const HostTables&) = delete;

  static HostTables& Current();

  // --- the record ---
  HostOSRecord& Record() { return record_; }
  void RemoveTable(Table table);
  void RestoreTable(Table table);
  void* TablePointer(Table table) const;
  // Whether the host offers `entry` now (its table and the entry are there): what
  // the plug-in cannot give back through a missing entry, it is not blamed for.
  bool Offered(const EntryId& entry) const;
  // Puts a function into its entry; `answers` when it answers a value.
  void Install(EntryId entry, void* function, bool answers);
  // Puts a raw value into an entry (a data entry, or a null to take it away).
  void SetRawEntry(EntryId entry, void* value);
  // What the entry's slot holds now.
  void* RawEntry(EntryId entry) const;
  // Whether the entry answers something (a failure value can stand in for it).
  bool Answers(EntryId entry) const { return answering_.count(entry) != 0; }

  // --- what a test changes ---
  // Makes an implemented entry answer its zero value (null, false, 0) without acting.
  void FailEntry(EntryId entry);
  // Makes only the k-th call (1-based, counted from now) of an entry fail so.
  void FailEntryCall(EntryId entry, int k);
  void HealEntry(EntryId entry);
  // Replaces what an entry does; the function must have the entry's signature.
  void OverrideEntry(EntryId entry, void* function);
  void ClearOverride(EntryId entry);
  bool HasInterceptions() const { return !overrides_.empty() || !failing_.empty() || !failingCall_.empty(); }
  // Whether calls of the entry are made to fail, all of them or one.
  bool FailureArmed(EntryId entry) const { return failing_.count(entry) != 0 || failingCall_.count(entry) != 0; }
  // Whether this call of the entry fails (counts the call for FailEntryCall).
  bool IsFailing(EntryId entry);
  void* OverrideFor(EntryId entry) const;
  // Bools answered in a clean register (true) or with garbage in all but the low
  // byte (false, the default).
  void SetCleanBoolAnswers(bool clean) { cleanBools = clean; }
  static inline bool cleanBools = false;
  // Recording every call is what tests read; benchmarks turn it off.
  void SetRecording(bool on);
  bool Recording() const { return recording_; }
  // True while no call is recorded, overridden or failed: entries then run their
  // implementation straight away.
  static inline bool plainCalls = false;

  // --- what the host saw ---
  void Record(EntryId entry, std::vector<std::uint64_t> args);
  void RecordMethod(const MethodId& method, std::vector<std::uint64_t> args);
  const std::vector<Call>& Calls() const { return calls_; }
  std::vector<Call> CallsTo(EntryId entry) const;
  std::vector<Call> CallsTo(const MethodId& method) const;
  void ClearCalls() { calls_.clear(); }
  // The entries the plug-in called so far, each once, in order of first call.
  std::vector<EntryId> EntriesCalled() const;

 private:
  void UpdatePlainCalls() { plainCalls = !recording_ && !HasInterceptions(); }

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
  // Calls may come from any thread (jobs are posted from workers).
  std::mutex recordMutex_;
  std::vector<Call> calls_;
  bool recording_ = true;
};

// Puts the recorded form of an entry into its table: `Fn` is the host's
// implementation, `Threads` where it may be called from, `Refuse` as for Entry.
template <const EntryId& Id, auto Fn, ThreadRule Threads, auto Refuse = nullptr>
void Install(HostTables& tables) {
  tables.Install(Id, reinterpret_cast<void*>(&Entry<Id, Fn, Threads, Refuse>::Served),
                 EntryAnswers<decltype(Fn)>::value);
}

// The trap of every entry of every table, in record order (traps.cpp).
const std::vector<void*>& Traps();

}  // namespace testhost
