#pragma once
// The validator's cases: each runs on its own in a process of its own, so that a
// crash is reported rather than fatal. A case names itself, the level from which
// it runs, whether it draws on the seed, what it needs and what it checks.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "requirements.h"

namespace testhost {
class Host;
}  // namespace testhost

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
  std::vector<Requirement> missing;       // what a skipped case lacked
  std::map<std::string, double> figures;  // cycles, messages sent, times, ...
  void Fail(const std::string& why) {
    if (passed) detail = why;
    passed = false;
  }
  // Skips the case for want of `requirement`; `why` says what was found lacking.
  void Skip(Requirement requirement, const std::string& why) {
    skipped = true;
    missing.push_back(requirement);
    detail += (detail.empty() ? "" : "; ") + ("missing requirement " + RequirementName(requirement) + ": " + why);
  }
};

struct Case {
  std::string name;  // "GROUP.what"
  int level;         // the lowest level whose runs take it
  bool random;       // draws on the seed
  Requirements needs;
  std::string description;  // what it checks, in one line
  std::function<void(const CaseContext&, CaseResult&)> run;

  std::string Group() const { return name.substr(0, name.find('.')); }
};

// Every fault the host recorded fails the case, the first one named (after
// `where`, when given).
void TakeFaults(testhost::Host& host, CaseResult& result, const std::string& where = "");

// Reports the result and ends the case's process at once, for a case that cannot
// unwind (a thread of its own is stuck in the plug-in).
[[noreturn]] void Abandon(const CaseResult& result);

// Every case, in the order they run. One file per group adds its own.
std::vector<Case> AllCases();
void AddLoadCases(std::vector<Case>& cases);
void AddFolderCases(std::vector<Case>& cases);
void AddTableCases(std::vector<Case>& cases);
void AddFrameworkCases(std::vector<Case>& cases);
void AddDialogCases(std::vector<Case>& cases);
void AddSceneCases(std::vector<Case>& cases);
void AddThreadCases(std::vector<Case>& cases);

}  // namespace validate
