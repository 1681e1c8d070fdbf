#pragma once
// The validator's cases: each runs on its own in a process of its own, so that a
// crash is reported rather than fatal. A case names itself, the level from which
// it runs, and whether it draws on the seed.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "testhost/host.h"

namespace validate {

struct CaseContext {
  std::string plugin;  // the plug-in library
  int level = 1;       // 1 (quick) to 10 (thorough)
  std::uint64_t seed = 1;
};

struct CaseResult {
  bool passed = true;
  bool skipped = false;
  std::string detail;                     // why it failed or was skipped
  std::map<std::string, double> figures;  // cycles, messages sent, times, ...
  void Fail(const std::string& why) {
    if (passed) detail = why;
    passed = false;
  }
};

struct Case {
  std::string name;
  int level;
  bool random;
  std::function<void(const CaseContext&, CaseResult&)> run;
};

// Every fault the host recorded fails the case, the first one named (after
// `where`, when given).
inline void TakeFaults(testhost::Host& host, CaseResult& result, const std::string& where = "") {
  if (!host.Failures().empty()) result.Fail(where + host.Failures().front());
}

// Reports the result and ends the case's process at once, for a case that cannot
// unwind (a thread of its own is stuck in the plug-in).
[[noreturn]] void Abandon(const CaseResult& result);

// Every case, in the order they run. One file per group adds its own.
std::vector<Case> AllCases();
void AddLoadCases(std::vector<Case>& cases);
void AddTableCases(std::vector<Case>& cases);
void AddFrameworkCases(std::vector<Case>& cases);
void AddDialogCases(std::vector<Case>& cases);
void AddSceneCases(std::vector<Case>& cases);
void AddThreadCases(std::vector<Case>& cases);

}  // namespace validate
