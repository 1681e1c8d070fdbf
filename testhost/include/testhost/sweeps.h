#pragma once
// Faults injected into one full session, in families: every published interface or
// declaration taken away, every method unbound or published with a wrong signature
// hash, the kernel's initializer withheld or failing, the allocator failing at a
// chosen allocation, and every table entry the plug-in calls answering its failure
// value. Each faulty session must end without a host fault, and a clean session in
// the same host afterwards must still show the right counts. The host tests and
// the validator run the same families.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "testhost/host.h"

namespace testhost {

struct SessionFault {
  std::string name;
  std::function<void(Host&)> inject;
  std::function<void(Host&)> heal;
};

// The families by name, in the order they are listed.
const std::vector<std::string>& SweepFamilies();

// What a clean session uses: its allocations and the entries it calls that answer
// a value; and what the host found wrong with it (nothing, for a sound plug-in).
struct CleanReference {
  int allocations = 0;
  std::vector<EntryId> answeringEntries;
  std::vector<std::pair<EntryId, int>> answeringCalls;  // with the number of calls each
  std::vector<std::string> failures;
};
CleanReference RunCleanReference(const std::string& pluginFile);

// The faults of a family; the allocation and entry families run a clean session
// first to learn what there is to fail.
std::vector<SessionFault> SweepFaults(const std::string& family, const std::string& pluginFile);

// The allocator failing at each allocation whose number `fails` picks, at once.
SessionFault FailingAllocations(const std::string& name, std::function<bool(int)> fails);

// One faulty session, then a clean one in the same host. Answers the faults the
// host found, each prefixed with where it was found; empty when both went well.
std::vector<std::string> RunFaultThenClean(const std::string& pluginFile, const SessionFault& fault);

}  // namespace testhost
