// Load and life cycle: cold and warm loads, the records reachable from
// g_framework read from the host's side, repeated load cycles that must not grow,
// and every action and message id, known or not.
#include <array>
#include <chrono>
#include <random>
#include <set>

#include "cases.h"
#include "process_figures.h"
#include "testhost/full_session.h"
#include "testhost/host.h"
#include "testhost/numbers.h"
#include "testhost/records.h"
#include "testhost/sanitizers.h"

namespace validate {

namespace {

using Clock = std::chrono::steady_clock;

// The address sanitizer holds freed memory back in quarantine, so the process grows
// with every cycle whatever the plug-in does: the growth is reported, not judged.
constexpr bool kMemoryQuarantined = testhost::kAddressSanitizer;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

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

// A module entry: the kernel's flags, the way back to g_framework, and a dependency
// list of sensible length that names only frameworks the host has, each once.
void CheckModule(const testhost::Records& records, const unsigned char* module, CaseResult& result) {
  const std::string name = testhost::Records::Name(module);
  if ((testhost::Records::Flags(module) & 0x201u) != 0x201u) result.Fail("module " + name + " lacks flags 0x201");
  if (testhost::ReadAt<const void*>(module, testhost::record::kModuleFramework) != records.Framework())
    result.Fail("module " + name + " does not point back to g_framework");
  const auto count = testhost::ReadAt<std::int64_t>(module, testhost::record::kModuleDependencyCount);
  const auto* ids = testhost::ReadAt<const unsigned char*>(module, testhost::record::kModuleDependencies);
  if (count < 0 || count > 64 || (ids == nullptr && count != 0))
    return result.Fail("module " + name + " lists " + std::to_string(count) + " dependencies");
  static const std::set<std::string> frameworks = {"scene", "command", "core",          "crypt", "image",
                                                   "math",  "mesh_misc", "modeling_geom", "python"};
  std::set<std::string> seen;
  for (const std::string& dependency : records.ModuleDependencies(module)) {
    const std::string prefix = "net.hostapp.", suffix = ".framework";
    const bool known = dependency.size() > prefix.size() + suffix.size() && dependency.rfind(prefix, 0) == 0 &&
                       dependency.compare(dependency.size() - suffix.size(), suffix.size(), suffix) == 0 &&
                       frameworks.count(dependency.substr(prefix.size(), dependency.size() - prefix.size() - suffix.size())) != 0;
    if (!known) result.Fail("module " + name + " depends on '" + dependency + "', which the host does not have");
    if (!seen.insert(dependency).second) result.Fail("module " + name + " lists '" + dependency + "' twice");
  }
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
    // Bit 0 marks a constructed record; units, modules and start functions carry 0x201.
    const std::uint32_t flags = (kind == 8 || kind == 9 || kind == 10) ? 0x201u : 0x1u;
    if ((testhost::Records::Flags(record) & flags) != flags)
      result.Fail("a record of kind " + std::to_string(kind) + " lacks flags " + std::to_string(flags));
    if (id.text == nullptr) {
      if ((id.word & ~testhost::id::kOwnedText) != 0) result.Fail("an identifier without text carries a word");
      return;
    }
    const std::string text = testhost::IdText(id);
    if ((id.word & ~testhost::id::kOwnedText) != testhost::MakeId(text.c_str()).word) result.Fail("identifier '" + text + "' carries a wrong word");
  };
  // A list walked to the longest the host reads does not end (or loops).
  auto ends = [&](const std::vector<const unsigned char*>& list, const std::string& what) {
    if (list.size() >= testhost::Records::kLongestList) result.Fail("the " + what + " list does not end");
    return list;
  };
  const auto modules = ends(records.Modules(), "module");
  if (modules.empty()) result.Fail("g_framework lists no module");
  for (const unsigned char* module : modules) {
    check(module);
    CheckModule(records, module, result);
    const std::string name = testhost::Records::Name(module);
    for (const unsigned char* unit : ends(records.Units(module), "unit list of " + name)) {
      check(unit);
      const std::string unitName = testhost::Records::Name(unit);
      for (const unsigned char* child : ends(records.Children(unit), "child list of " + unitName)) check(child);
      for (const unsigned char* use : ends(records.Uses(unit), "header-use list of " + unitName))
        if (testhost::ReadAt<const void*>(use, testhost::record::kUseDeclaration) == nullptr)
          result.Fail("a header use of unit " + unitName + " names no declaration");
      for (const unsigned char* dependency : ends(records.Dependencies(unit), "dependency list of " + unitName)) {
        const void* initializer = testhost::ReadAt<const void*>(dependency, testhost::record::kDependencyInitializer);
        const char* label = testhost::ReadAt<const char*>(dependency, testhost::record::kDependencyName);
        if (initializer == nullptr ||
            initializer != testhost::ReadAt<const void*>(dependency, testhost::record::kDependencyInitializerAgain))
          result.Fail("an initializer dependency of unit " + unitName + " does not name its initializer twice");
        if (label == nullptr || label[0] != '.')
          result.Fail("an initializer dependency of unit " + unitName + " has no name with a leading dot");
      }
    }
    for (const unsigned char* reference : ends(records.References(module), "reference list of " + name)) check(reference);
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
  std::size_t handlesFrom = 0;
  for (int cycle = 0; cycle < cycles && result.passed; ++cycle) {
    testhost::Host host(context.plugin);
    host.Init();
    host.Message(1);
    host.Start();
    host.End();
    host.Unload();
    TakeFaults(host, result);
    if (host.Framework().LiveAllocations() != 0) result.Fail("framework memory left after cycle " + std::to_string(cycle));
    if (cycle == cycles / 10) {
      grownFrom = ResidentKilobytes();
      handlesFrom = OpenHandles();
    }
  }
  const std::size_t handles = OpenHandles();
  result.figures["open handles"] = static_cast<double>(handles);
  if (handles > handlesFrom) result.Fail("open handles grew from " + std::to_string(handlesFrom) + " to " + std::to_string(handles));
  const long grown = ResidentKilobytes() - grownFrom;
  result.figures["cycles"] = cycles;
  result.figures["resident growth kB"] = static_cast<double>(grown);
  // The loader keeps some bookkeeping per load; a leak of the plug-in's shows as
  // growth with every cycle.
  if (!kMemoryQuarantined && grownFrom > 0 && grown > 64 + cycles / 4) result.Fail("the process grew by " + std::to_string(grown) + " kB");
}

// What the entry answers, worked out on the host's side: the nested count of
// initialisation and end actions decides what each action does.
struct EntryModel {
  int count = 0;  // initialisation actions minus end actions
  bool loaded = false;  // the resource folder, from message 1 to the last end

  int Expect(int action, int message) {
    switch (action) {
      case testhost::action::kInit:
        ++count;
        return 1;
      case testhost::action::kEnd:
        if (--count == 0) loaded = false;
        return 1;
      case testhost::action::kQuery:
        return 5;
      case testhost::action::kMessage:
        if (message == testhost::pluginmessage::kNone) return 1;
        if (message == testhost::pluginmessage::kLoadResources) {
          loaded = true;
          return 1;
        }
        return -1;
      default:
        return -1;
    }
  }
};

// Sends one action (a message when `action` is 6) and checks the answer.
void Send(testhost::Host& host, EntryModel& model, int action, int message, CaseResult& result, int step) {
  const int expected = model.Expect(action, message);
  const int answered = action == testhost::action::kInit      ? host.Init()
                       : action == testhost::action::kMessage ? host.Message(message)
                                                              : host.PluginMain(action);
  if (answered != expected)
    result.Fail("step " + std::to_string(step) + ": action " + std::to_string(action) +
                (action == testhost::action::kMessage ? " message " + std::to_string(message) : "") + " answered " +
                std::to_string(answered) + ", not " + std::to_string(expected));
}

void EndBeforeInit(const CaseContext& context, CaseResult& result, int step);

// Every action and message id class, known and unknown, with their answers; nested
// and unbalanced initialisation and end actions.
int KnownAndUnknownActions(const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  EntryModel model;
  int step = 0;
  Send(host, model, testhost::action::kInit, 0, result, ++step);
  for (int message : {1, 2, 3, 0, -1, 1000, 1 << 30, 1})
    Send(host, model, testhost::action::kMessage, message, result, ++step);
  // The message id is the low 32 bits of its pointer-sized argument, whatever the
  // high ones hold.
  for (const auto& [id, expected] : std::array<std::pair<int, int>, 3>{{{1, 1}, {0, 1}, {2, -1}}}) {
    ++step;
    const std::uint64_t word = 0xA5A5A5A500000000ull | static_cast<std::uint32_t>(id);
    const int answered = host.PluginMain(testhost::action::kMessage, reinterpret_cast<void*>(static_cast<std::uintptr_t>(word)));
    if (answered != expected)
      result.Fail("step " + std::to_string(step) + ": message " + std::to_string(id) + " with high bits set answered " +
                  std::to_string(answered) + ", not " + std::to_string(expected));
  }
  if (host.Start() != 1) result.Fail("the start answered failure");
  for (int action : {0, 4, 5, 7, 99, -7, 1 << 20, -2147483647 - 1})
    Send(host, model, action, 0, result, ++step);
  Send(host, model, testhost::action::kInit, 0, result, ++step);  // nested
  Send(host, model, testhost::action::kEnd, 0, result, ++step);
  Send(host, model, testhost::action::kMessage, 0, result, ++step);  // still running
  Send(host, model, testhost::action::kMessage, 1, result, ++step);  // the folder still there
  Send(host, model, testhost::action::kEnd, 0, result, ++step);      // the last end
  Send(host, model, testhost::action::kEnd, 0, result, ++step);      // below zero: only counted
  Send(host, model, testhost::action::kInit, 0, result, ++step);     // back to zero: nothing bound
  host.Unload();
  TakeFaults(host, result);
  return step;
}

void EveryActionAndMessage(const CaseContext& context, CaseResult& result) {
  EndBeforeInit(context, result, KnownAndUnknownActions(context, result));
}

// A host that ends before it initialises, then starts over: the first action 1
// only brings the count back to zero, the next one binds; a nested action 1 with
// no path answers 1 without looking at it.
void EndBeforeInit(const CaseContext& context, CaseResult& result, int step) {
  testhost::Host again(context.plugin);
  EntryModel fresh;
  Send(again, fresh, testhost::action::kEnd, 0, result, ++step);
  Send(again, fresh, testhost::action::kInit, 0, result, ++step);
  Send(again, fresh, testhost::action::kMessage, 0, result, ++step);
  Send(again, fresh, testhost::action::kInit, 0, result, ++step);
  Send(again, fresh, testhost::action::kMessage, 1, result, ++step);
  ++step;
  if (again.PluginMain(testhost::action::kInit, &again.Record(), nullptr, nullptr) != 1)
    result.Fail("step " + std::to_string(step) + ": a nested action 1 without a path was not answered 1");
  ++fresh.count;
  Send(again, fresh, testhost::action::kEnd, 0, result, ++step);
  Send(again, fresh, testhost::action::kMessage, 1, result, ++step);  // the folder still there
  again.Unload();
  result.figures["actions and messages"] = step + 1;
  TakeFaults(again, result);
}

// Random streams of actions and messages, known and unknown, with nested pairs of
// initialisation and end actions; the seed picks them. Host operations are only
// asked for while the plug-in is initialised, as a host does.
void RandomActions(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  const int streams = 10 * context.level;
  const int length = 50 * context.level;
  int sent = 0;
  for (int stream = 0; stream < streams && result.passed; ++stream) {
    testhost::Host host(context.plugin);
    EntryModel model;
    Send(host, model, testhost::action::kInit, 0, result, ++sent);
    bool started = false;
    for (int step = 0; step < length && result.passed; ++step) {
      const unsigned pick = static_cast<unsigned>(random() % 10);
      int action = testhost::action::kMessage;
      int message = 0;
      if (pick == 0) action = testhost::action::kInit;
      else if (pick == 1 && model.count > 1) action = testhost::action::kEnd;
      else if (pick == 2) action = testhost::action::kQuery;
      else if (pick == 3) action = std::array<int, 6>{0, 5, 7, 100, -1, -2147483647 - 1}[random() % 6];
      else if (pick == 4 && !started && model.loaded) {
        started = true;
        if (host.Start() != 1) result.Fail("stream " + std::to_string(stream) + ": the start answered failure");
        ++sent;
        continue;
      } else {
        message = std::array<int, 6>{0, 1, 2, -1, 12345, 1 << 30}[random() % 6];
      }
      Send(host, model, action, message, result, ++sent);
    }
    while (model.count > 1) Send(host, model, testhost::action::kEnd, 0, result, ++sent);
    host.Unload();  // the last end action
    if (!host.Failures().empty()) result.Fail("stream " + std::to_string(stream) + ": " + host.Failures().front());
  }
  result.figures["streams"] = streams;
  result.figures["actions and messages"] = sent;
}

// One full session on a small scene: the command run, the dialog opened, every
// option, About, Help, close, reopen, end and unload; the first display must show
// the scene's counts and the host must find nothing wrong.
void FullSession(const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin, testhost::Host::Mode::kTablesOnly);
  host.Load();
  const testhost::SessionScene scene = testhost::BuildSessionScene(host.SceneModel());
  const testhost::SessionRecord record = testhost::RunSession(host, scene);
  if (record.init != 1 || record.start != 1) result.Fail("the plug-in did not start");
  else if (!record.registered) result.Fail("the plug-in registered no command");
  else if (!record.opened) result.Fail("the command opened no dialog");
  else if (record.firstDisplay != testhost::ExpectedFirstDisplay()) result.Fail("the first display is not the scene's counts");
  TakeFaults(host, result);
}

}  // namespace

void AddLoadCases(std::vector<Case>& cases) {
  cases.push_back({"load.cold-and-warm", 1, false, {},
                   "the library loaded and unloaded twice, cold then warm, each load timed and clean",
                   ColdAndWarmLoad});
  cases.push_back({"load.full-session", 1, false, {},
                   "one full session on a small scene (command, dialog, every option, About, Help, close, "
                   "reopen, end): the first display shows the scene's counts",
                   FullSession});
  cases.push_back({"load.records", 1, false, {},
                   "the records of g_framework read from the host's side: known kinds, lists that end, "
                   "identifiers hashed right, module dependencies the host has",
                   RecordsAreWellFormed});
  cases.push_back({"load.cycles", 1, false, {Requirement::kProcessFigures},
                   "load, start, end and unload again and again (100 per level, 10 000 at level 10): no "
                   "framework memory left, neither the process nor its open handles grow",
                   LoadCycles});
  cases.push_back({"load.actions-and-messages", 1, false, {},
                   "every action and message id, known and unknown, nested and unbalanced initialisation and "
                   "end actions, each answered as the host expects",
                   EveryActionAndMessage});
  cases.push_back({"load.random-actions", 1, true, {},
                   "random streams of actions and messages with nested initialisation and end actions, each "
                   "answered as the host expects",
                   RandomActions});
}

}  // namespace validate
