// Framework: every sweep family of faults over a full session (interfaces and
// declarations unpublished, methods unbound or wrongly hashed, the kernel's
// initializer withheld or failing, methods answering errors, the allocator failing
// at every allocation), the allocator failing at random sets of allocations, and
// every table entry the plug-in calls answering its failure value. After each
// fault a clean session in the same host must still work and nothing may leak.
#include <map>
#include <random>

#include "cases.h"
#include "testhost/sweeps.h"

namespace validate {

namespace {

void RunFaults(const std::vector<testhost::SessionFault>& faults, const CaseContext& context, CaseResult& result) {
  int tried = 0;
  for (const testhost::SessionFault& fault : faults) {
    ++tried;
    const std::vector<std::string> found = testhost::RunFaultThenClean(context.plugin, fault);
    if (!found.empty()) {
      result.Fail(found.front());
      break;
    }
  }
  result.figures["faults tried"] = tried;
}

void Family(const std::string& family, const CaseContext& context, CaseResult& result) {
  const std::vector<testhost::SessionFault> faults = testhost::SweepFaults(family, context.plugin);
  if (faults.empty()) return result.Fail("no faults to try: the clean session did nothing");
  RunFaults(faults, context, result);
  if (family == "allocations") result.figures["allocation points"] = static_cast<double>(faults.size());
}

// Rounds in which each allocation fails with a chance drawn per round, from one
// in two to one in a hundred; the seed picks them.
void RandomAllocations(const CaseContext& context, CaseResult& result) {
  const testhost::CleanReference reference = testhost::RunCleanReference(context.plugin);
  if (!reference.failures.empty()) return result.Fail("the clean session: " + reference.failures.front());
  std::mt19937_64 random(context.seed);
  const int rounds = 10 * context.level;
  std::vector<testhost::SessionFault> faults;
  for (int round = 0; round < rounds; ++round) {
    const int oneIn = 2 + static_cast<int>(random() % 99);
    auto fails = std::make_shared<std::vector<bool>>();
    for (int k = 0; k <= reference.allocations; ++k) fails->push_back(random() % static_cast<unsigned>(oneIn) == 0);
    faults.push_back(testhost::FailingAllocations(
        "round " + std::to_string(round) + ": one allocation in " + std::to_string(oneIn) + " failing",
        [fails](int n) { return n >= 0 && static_cast<std::size_t>(n) < fails->size() && (*fails)[n]; }));
  }
  RunFaults(faults, context, result);
  result.figures["allocations per session"] = reference.allocations;
}

// What each sweep family takes away or breaks in the faulty session.
std::string FamilyFault(const std::string& family) {
  static const std::map<std::string, std::string> faults = {
      {"published", "each published interface or declaration taken away"},
      {"methods", "each framework method left unbound"},
      {"signatures", "each framework method published under a wrong signature hash"},
      {"initializers", "the kernel's initializer withheld, or failing for each interface"},
      {"answers", "framework methods answering errors (logger, string conversion, data types, machine information)"},
      {"allocations", "the allocator failing at each allocation of a full session in turn"},
      {"entries", "each host table entry the plug-in calls answering its failure value"},
      {"calls", "each single call of a host table entry that answers a value failing alone"},
  };
  const auto found = faults.find(family);
  return found == faults.end() ? "" : found->second;
}

}  // namespace

void AddFrameworkCases(std::vector<Case>& cases) {
  for (const std::string& family : testhost::SweepFamilies()) {
    const std::string name = family == "entries"       ? "tables.entries-failing"
                             : family == "calls"       ? "tables.entry-calls-failing"
                                                       : "framework." + family;
    const std::string fault = FamilyFault(family);
    cases.push_back({name, 2, false, {},
                     fault.empty() ? "" : fault + ": each faulty session ends cleanly, and a clean session after it "
                                                  "shows the right counts with nothing leaked",
                     [family](const CaseContext& context, CaseResult& result) { Family(family, context, result); }});
  }
  cases.push_back({"framework.random-allocations", 3, true, {},
                   "the allocator failing at random sets of a full session's allocations (10 rounds per level), "
                   "each session followed by a clean one that must work",
                   RandomAllocations});
}

}  // namespace validate
