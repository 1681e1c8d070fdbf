// Load and life cycle: cold and warm loads, the records reachable from
// g_framework read from the host's side, repeated load cycles that must not grow,
// and every action and message id, known or not.
#include <chrono>
#include <set>

#include "cases.h"
#include "testhost/host.h"
#include "testhost/records.h"

namespace validate {

namespace {

using Clock = std::chrono::steady_clock;

// The address sanitizer holds freed memory back in quarantine, so the process grows
// with every cycle whatever the plug-in does: the growth is reported, not judged.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryQuarantined = true;
#else
constexpr bool kMemoryQuarantined = false;
#endif

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Every fault the host recorded fails the case, the first one named.
void TakeFaults(testhost::Host& host, CaseResult& result) {
  if (!host.Failures().empty()) result.Fail(host.Failures().front());
}

// The resident set of this process in kilobytes, or 0 where it cannot be read.
long ResidentKilobytes();

void ColdAndWarmLoad(const CaseContext& context, CaseResult& result) {
  const Clock::time_point cold = Clock::now();
  {
    testhost::Host host(context.plugin);
    host.Unload();
    TakeFaults(host, result);
  }
  result.figures["cold load ms"] = Milliseconds(cold);
  const Clock::time_point warm = Clock::now();
  {
    testhost::Host host(context.plugin);
    host.Unload();
    TakeFaults(host, result);
  }
  result.figures["warm load ms"] = Milliseconds(warm);
}

// Kinds the kernel knows; every list ends; every identifier's word carries the
// length and hash of its text.
void RecordsAreWellFormed(const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  const testhost::Records records(host.Framework().Framework());
  const std::set<std::int32_t> kinds = {1, 3, 4, 6, 7, 8, 9, 10, 11, 12};
  int checked = 0;
  auto check = [&](const unsigned char* record) {
    ++checked;
    const std::int32_t kind = testhost::Records::Kind(record);
    if (kinds.count(kind) == 0) result.Fail("record of unknown kind " + std::to_string(kind));
    const testhost::IdValue id = testhost::Records::Id(record);
    if (id.text == nullptr) return;
    const std::string text = testhost::IdText(id);
    std::uint64_t hash = 0;
    for (unsigned char c : text) hash = hash * 31 + c;
    const std::uint64_t word = (std::uint64_t{text.size()} << testhost::id::kLengthShift) | (hash & testhost::id::kHashMask);
    if ((id.word & ~testhost::id::kOwnedText) != word) result.Fail("identifier '" + text + "' carries a wrong word");
  };
  const auto modules = records.Modules();
  if (modules.empty()) result.Fail("g_framework lists no module");
  for (const unsigned char* module : modules) {
    check(module);
    for (const unsigned char* unit : records.Units(module)) {
      check(unit);
      for (const unsigned char* child : records.Children(unit)) check(child);
    }
    for (const unsigned char* reference : records.References(module)) check(reference);
  }
  result.figures["records"] = checked;
  host.Unload();
  TakeFaults(host, result);
}

// Load, bind, start, run to the end and unload, again and again: nothing may be
// left behind, and the process must not grow with the cycles.
void LoadCycles(const CaseContext& context, CaseResult& result) {
  const int cycles = context.level >= 10 ? 10000 : 100 * context.level;
  long grownFrom = 0;
  for (int cycle = 0; cycle < cycles && result.passed; ++cycle) {
    testhost::Host host(context.plugin);
    host.Init();
    host.Message(1);
    host.Start();
    host.End();
    host.Unload();
    TakeFaults(host, result);
    if (host.Framework().LiveAllocations() != 0) result.Fail("framework memory left after cycle " + std::to_string(cycle));
    if (cycle == cycles / 10) grownFrom = ResidentKilobytes();
  }
  const long grown = ResidentKilobytes() - grownFrom;
  result.figures["cycles"] = cycles;
  result.figures["resident growth kB"] = static_cast<double>(grown);
  // The loader keeps some bookkeeping per load; a leak of the plug-in's shows as
  // growth with every cycle.
  if (!kMemoryQuarantined && grownFrom > 0 && grown > 64 + cycles / 4) result.Fail("the process grew by " + std::to_string(grown) + " kB");
}

// Every action and message id class: the known ones in their order, unknown ones
// answered without a crash or a fault, and unbalanced end actions.
void EveryActionAndMessage(const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  int sent = 0;
  host.Init();
  for (int message : {1, 2, 3, 0, -1, 1000, 1 << 30}) {
    host.Message(message);
    ++sent;
  }
  host.Start();
  for (int action : {0, 4, 5, 99, -7, 1 << 20}) {
    host.PluginMain(action);
    ++sent;
  }
  host.Init();  // nested start
  host.End();
  host.End();
  host.Unload();
  result.figures["actions and messages"] = sent + 4;
  TakeFaults(host, result);
}

long ResidentKilobytes() {
  std::FILE* status = std::fopen("/proc/self/statm", "r");
  if (status == nullptr) return 0;
  long pages = 0, resident = 0;
  const int read = std::fscanf(status, "%ld %ld", &pages, &resident);
  std::fclose(status);
  return read == 2 ? resident * 4 : 0;
}

}  // namespace

void AddLoadCases(std::vector<Case>& cases) {
  cases.push_back({"load.cold-and-warm", 1, false, ColdAndWarmLoad});
  cases.push_back({"load.records", 1, false, RecordsAreWellFormed});
  cases.push_back({"load.cycles", 1, false, LoadCycles});
  cases.push_back({"load.actions-and-messages", 1, false, EveryActionAndMessage});
}

}  // namespace validate
