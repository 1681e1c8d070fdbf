// Threads: the plug-in's one facility that crosses threads, the hand-over of work
// to the host's main thread, driven from many worker threads at once while the
// main thread keeps the dialog counting (scene changes, option toggles, pauses)
// and runs the queued jobs between its messages, as the host does. Every job a
// worker posts must run exactly once, on the main thread, or be handed back when
// the host refuses it; a worker whose job could not be allocated must wait until
// the main thread has run it; the counts must be those of a quiet run of the same
// messages; nothing may be left at unload.
//
// The library exports no way to post a job. The facility is reached through the
// binding layer's host state scope, whose routines the validator finds by name in
// the library's symbol table: each begin and each end of a scope posts one job that
// sets the host state (3 or 2) on the main thread. A library without a symbol table
// skips these cases.
#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cases.h"
#include "testhost/full_session.h"
#include "testhost/host.h"

namespace validate {

namespace {

using Clock = std::chrono::steady_clock;
using Fields = std::map<int, std::string>;

constexpr double kNoTimeLimit = 1.7976931348623157e308;
constexpr const char* kThreadServices = "net.hostapp.threadservices";
const testhost::MethodId kEnqueue{kThreadServices, "Enqueue"};
const testhost::MethodId kWait{kThreadServices, "Wait"};
const testhost::MethodId kGetResult{kThreadServices, "GetResult"};
const testhost::MethodId kCancel{kThreadServices, "Cancel"};
const testhost::MethodId kRemoveReference{kThreadServices, "RemoveJobReference"};

// ---- the host state scope in the loaded library ----

// The scope's routines (Itanium names): the constructor taking `begin`, Begin, End
// and the destructor. The object is one byte.
constexpr const char* kScopeConstruct = "_ZN14HostStateScopeC1Eb";
constexpr const char* kScopeBegin = "_ZN14HostStateScope5BeginEv";
constexpr const char* kScopeEnd = "_ZN14HostStateScope3EndEv";
constexpr const char* kScopeDestroy = "_ZN14HostStateScopeD1Ev";
constexpr const char* kEntryPoint = "plugin_main";

struct ScopeCode {
  void (*construct)(void* scope, bool begin) = nullptr;
  void (*begin)(void* scope) = nullptr;
  void (*end)(void* scope) = nullptr;
  void (*destroy)(void* scope) = nullptr;
};

template <typename T>
bool ReadStruct(const std::vector<char>& bytes, std::uint64_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

// The values of the named function symbols in the file's symbol table.
std::map<std::string, std::uint64_t> FunctionSymbols(const std::string& file, const std::set<std::string>& names) {
  std::map<std::string, std::uint64_t> found;
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Elf64_Ehdr header{};
  if (!ReadStruct(bytes, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr))
    return found;
  for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr symbols{}, strings{};
    if (!ReadStruct(bytes, header.e_shoff + i * sizeof(Elf64_Shdr), symbols) || symbols.sh_type != SHT_SYMTAB ||
        !ReadStruct(bytes, header.e_shoff + std::uint64_t{symbols.sh_link} * sizeof(Elf64_Shdr), strings) ||
        strings.sh_offset > bytes.size() || bytes.size() - strings.sh_offset < strings.sh_size)
      continue;
    for (std::uint64_t k = 0; k < symbols.sh_size / sizeof(Elf64_Sym); ++k) {
      Elf64_Sym symbol{};
      if (!ReadStruct(bytes, symbols.sh_offset + k * sizeof(Elf64_Sym), symbol) ||
          ELF64_ST_TYPE(symbol.st_info) != STT_FUNC || symbol.st_name >= strings.sh_size)
        continue;
      const char* text = bytes.data() + strings.sh_offset + symbol.st_name;
      const std::string name(text, strnlen(text, strings.sh_size - symbol.st_name));
      if (names.count(name) != 0) found[name] = symbol.st_value;
    }
  }
  return found;
}

template <typename F>
F At(std::uintptr_t address) {
  return reinterpret_cast<F>(address);
}

// The scope's routines in the library the host loaded, placed by the entry point's
// address; false when the library carries no symbol table or lacks one of them.
bool FindScopeCode(testhost::Host& host, ScopeCode& code) {
  const auto symbols =
      FunctionSymbols(host.PluginFile(), {kScopeConstruct, kScopeBegin, kScopeEnd, kScopeDestroy, kEntryPoint});
  void* entry = host.Symbol(kEntryPoint);
  if (symbols.size() != 5 || entry == nullptr) return false;
  const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(entry) - symbols.at(kEntryPoint);
  code.construct = At<decltype(code.construct)>(base + symbols.at(kScopeConstruct));
  code.begin = At<decltype(code.begin)>(base + symbols.at(kScopeBegin));
  code.end = At<decltype(code.end)>(base + symbols.at(kScopeEnd));
  code.destroy = At<decltype(code.destroy)>(base + symbols.at(kScopeDestroy));
  return true;
}

// As FindScopeCode; when the routines cannot be found, the library is unloaded and
// the case skipped with the reason.
bool ReachScopeCode(testhost::Host& host, ScopeCode& code, CaseResult& result) {
  if (FindScopeCode(host, code)) return true;
  host.Unload();
  result.skipped = true;
  result.detail = "the library carries no symbol table: its main-thread jobs cannot be reached";
  return false;
}

// ---- faults a worker asks for, one post at a time ----

// Asked on the allocating (enqueuing) thread, so that each worker knows exactly
// which of its own posts met a fault.
thread_local int t_failingAllocations = 0;  // this thread's next allocations fail
thread_local bool t_refuseJob = false;      // the next job this thread hands over is refused
thread_local bool t_handedOver = false;     // a job of this thread reached Enqueue
thread_local bool t_refused = false;        // ... and was refused

void InjectFaults(testhost::Host& host) {
  host.Framework().FailAllocations([](int) {
    if (t_failingAllocations == 0) return false;
    --t_failingAllocations;
    return true;
  });
  host.Framework().Jobs().RefuseJobs([] {
    t_handedOver = true;
    t_refused = t_refuseJob;
    t_refuseJob = false;
    return t_refused;
  });
}

struct Profile {
  int refuseOneIn = 0;  // 0: the host takes every job
  int failOneIn = 0;    // 0: every job is allocated
};

// What a worker did and therefore expects.
struct Tally {
  long posted = 0;         // calls that post a job
  long handedOver = 0;     // jobs that reached the host
  long refused = 0;        // of them refused
  long inPlace = 0;        // jobs built on the worker's stack for want of memory
  long waited = 0;         // in-place jobs the host took: each one waited for
  long dropped = 0;        // posts that never reached the host for want of memory
  long begins = 0, ends = 0;  // jobs that must run, by the state they set
  std::string fault;

  void Add(const Tally& other) {
    posted += other.posted;
    handedOver += other.handedOver;
    refused += other.refused;
    inPlace += other.inPlace;
    waited += other.waited;
    dropped += other.dropped;
    begins += other.begins;
    ends += other.ends;
    if (fault.empty()) fault = other.fault;
  }
};

constexpr std::int32_t kBegin = testhost::hoststate::kBegin;
constexpr std::int32_t kEnd = testhost::hoststate::kEnd;

// One call of the scope that posts the job setting `state`, with the faults drawn
// for it.
template <typename Call>
void Post(Tally& tally, std::mt19937_64& random, const Profile& profile, std::int32_t state, Call call) {
  const bool refuse = profile.refuseOneIn > 0 && random() % static_cast<unsigned>(profile.refuseOneIn) == 0;
  const bool fail = profile.failOneIn > 0 && random() % static_cast<unsigned>(profile.failOneIn) == 0;
  // Sometimes the error that reports the failure cannot be copied either.
  const int failing = fail ? 1 + static_cast<int>(random() % 2) : 0;
  t_refuseJob = refuse;
  t_handedOver = false;
  t_refused = false;
  t_failingAllocations = failing;
  call();
  // The job's own allocation comes first: with any failure asked for, it failed.
  const bool inPlace = failing > 0 && t_failingAllocations < failing;
  t_failingAllocations = 0;
  t_refuseJob = false;
  ++tally.posted;
  if (failing > 0 && !inPlace && tally.fault.empty())
    tally.fault = "a post from a worker allocated no job";
  if (inPlace) ++tally.inPlace;
  if (!t_handedOver) {
    // Without memory even for the error the work may be given up; otherwise every
    // post must reach the host.
    if (failing > 0) ++tally.dropped;
    else if (tally.fault.empty()) tally.fault = "a job posted from a worker never reached the host";
    return;
  }
  ++tally.handedOver;
  if (t_refused) {
    ++tally.refused;
    return;
  }
  if (inPlace) ++tally.waited;
  (state == kBegin ? tally.begins : tally.ends) += 1;
}

// A call of the scope that must post nothing.
template <typename Call>
void Quiet(Tally& tally, Call call) {
  t_handedOver = false;
  call();
  if (t_handedOver && tally.fault.empty()) tally.fault = "a scope call that changes nothing posted a job";
}

// One use of a scope, of four kinds: begun at once and ended; begun twice (the
// second does nothing) and ended by the destructor; never begun; ended twice and
// begun again.
void UseScope(const ScopeCode& code, Tally& tally, std::mt19937_64& random, const Profile& profile) {
  alignas(8) unsigned char scope[8] = {};
  switch (random() % 4) {
    case 0:
      Post(tally, random, profile, kBegin, [&] { code.construct(scope, true); });
      Post(tally, random, profile, kEnd, [&] { code.end(scope); });
      Quiet(tally, [&] { code.destroy(scope); });
      break;
    case 1:
      Quiet(tally, [&] { code.construct(scope, false); });
      Post(tally, random, profile, kBegin, [&] { code.begin(scope); });
      Quiet(tally, [&] { code.begin(scope); });
      Post(tally, random, profile, kEnd, [&] { code.destroy(scope); });
      break;
    case 2:
      Quiet(tally, [&] { code.construct(scope, false); });
      Quiet(tally, [&] { code.destroy(scope); });
      break;
    default:
      Post(tally, random, profile, kBegin, [&] { code.construct(scope, true); });
      Post(tally, random, profile, kEnd, [&] { code.end(scope); });
      Quiet(tally, [&] { code.end(scope); });
      Post(tally, random, profile, kBegin, [&] { code.begin(scope); });
      Post(tally, random, profile, kEnd, [&] { code.destroy(scope); });
      break;
  }
}

// ---- the main thread's side: the dialog open on the session scene ----

constexpr int kFields[] = {testhost::tool::kPolygonsEditable, testhost::tool::kPolygonsCurrent,
                           testhost::tool::kPointsEditable,   testhost::tool::kPointsCurrent,
                           testhost::tool::kObjectsEditable,  testhost::tool::kObjectsCurrent,
                           testhost::tool::kNgonsEditable,    testhost::tool::kNgonsCurrent};

Fields FieldsOf(const testhost::Window& window) {
  Fields fields;
  for (int id : kFields) {
    auto found = window.elements.find(id);
    fields[id] = found != window.elements.end() ? found->second.text : "(none)";
  }
  return fields;
}

std::string Describe(const Fields& fields) {
  std::string text;
  for (const auto& [id, value] : fields) text += (text.empty() ? "" : " ") + std::to_string(id) + "=" + value;
  return text;
}

// What the main thread does between runs of the job queue.
enum class Step { kMorePolygons, kMorePoints, kMoreNgons, kChildren, kNonPolygon, kPause, kSync };

std::vector<Step> Steps(std::uint64_t seed, int count) {
  std::mt19937_64 random(seed);
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) steps.push_back(static_cast<Step>(random() % 7));
  return steps;
}

struct OpenDialog {
  testhost::SessionScene scene;
  testhost::Window* window = nullptr;
};

// Loads, starts and runs the command on the session scene; the dialog must show
// the scene's counts at once.
OpenDialog Open(testhost::Host& host, CaseResult& result) {
  OpenDialog dialog;
  dialog.scene = testhost::BuildSessionScene(host.SceneModel());
  host.Init();
  host.Message(testhost::pluginmessage::kLoadResources);
  host.Start();
  testhost::RegisteredCommand* command = host.CommandModel().ById(testhost::tool::kCommandId);
  if (command == nullptr) {
    result.Fail("the command was not registered");
    return dialog;
  }
  host.CommandModel().Run(*command);
  dialog.window = host.WindowModel().ByPluginId(testhost::tool::kCommandId);
  if (dialog.window == nullptr || !dialog.window->open) {
    result.Fail("the command opened no dialog");
    dialog.window = nullptr;
    return dialog;
  }
  if (FieldsOf(*dialog.window) != testhost::ExpectedFirstDisplay())
    result.Fail("the dialog opened with " + Describe(FieldsOf(*dialog.window)));
  return dialog;
}

void Apply(testhost::Host& host, OpenDialog& dialog, Step step) {
  using namespace testhost;
  Windows& windows = host.WindowModel();
  Window& window = *dialog.window;
  auto sceneChanged = [&] { windows.Send(window, code::MciM, {{code::MciI, code::kSceneChanged}}); };
  auto choose = [&](int item) { windows.Send(window, code::bACT, {{code::meid, item}}); };
  switch (step) {
    case Step::kMorePolygons:
      dialog.scene.mesh->polygons += 1;
      sceneChanged();
      break;
    case Step::kMorePoints:
      dialog.scene.mesh->points += 3;
      sceneChanged();
      break;
    case Step::kMoreNgons:  // a new polygon that is an n-gon
      dialog.scene.mesh->polygons += 1;
      dialog.scene.mesh->ngons += 1;
      sceneChanged();
      break;
    case Step::kChildren:
      choose(tool::kIncludeChildren);
      break;
    case Step::kNonPolygon:
      choose(tool::kIncludeNonPoly);
      break;
    case Step::kPause:
      choose(tool::kPause);
      break;
    case Step::kSync:
      windows.Send(window, code::sync, {{code::MciI, code::kSceneChanged}});
      break;
  }
}

void Close(testhost::Host& host, OpenDialog& dialog) {
  if (dialog.window != nullptr) host.WindowModel().Close(*dialog.window);
  host.Unload();
}

// The fields after each step, in a run without threads.
std::vector<Fields> QuietRun(const CaseContext& context, const std::vector<Step>& steps, CaseResult& result) {
  std::vector<Fields> shown;
  testhost::Host host(context.plugin);
  OpenDialog dialog = Open(host, result);
  if (dialog.window != nullptr)
    for (Step step : steps) {
      Apply(host, dialog, step);
      shown.push_back(FieldsOf(*dialog.window));
    }
  Close(host, dialog);
  TakeFaults(host, result);
  return shown;
}

// ---- the cases ----

int Threads(int level) { return std::min(16, 2 + 2 * level); }

// Many workers post jobs while the main thread recounts and runs the queue.
void JobsWhileRecounting(const Profile& profile, const CaseContext& context, CaseResult& result) {
  const std::vector<Step> steps = Steps(context.seed, 30 * context.level);
  const std::vector<Fields> expected = QuietRun(context, steps, result);
  if (!result.passed) return;

  testhost::Host host(context.plugin);
  ScopeCode code;
  if (!ReachScopeCode(host, code, result)) return;
  InjectFaults(host);
  testhost::JobSystem& jobs = host.Framework().Jobs();
  OpenDialog dialog = Open(host, result);
  if (dialog.window == nullptr) {
    Close(host, dialog);
    return;
  }

  const int threads = Threads(context.level);
  // Each worker uses scopes for as long as the main thread has steps to make (at
  // least `least`, at most `most`), held back while the queue is full.
  const long least = 25L * context.level;
  const long most = 1000L * context.level;
  const std::size_t queueBound = 16 * static_cast<std::size_t>(threads);
  std::atomic<bool> go{false}, stop{false};
  std::atomic<int> finished{0};
  std::atomic<long> used{0};  // scopes used by all workers
  std::vector<Tally> tallies(static_cast<std::size_t>(threads));
  std::vector<std::thread> workers;
  for (int w = 0; w < threads; ++w) {
    workers.emplace_back([&, w] {
      Tally& tally = tallies[static_cast<std::size_t>(w)];
      std::mt19937_64 random(context.seed * 1000003 + static_cast<std::uint64_t>(w) + 1);
      while (!go) std::this_thread::yield();
      for (long mine = 0; mine < most && (mine < least || !stop); ++mine) {
        // Keep the queue within bounds: the main thread drains it between steps.
        while (jobs.Queued() > queueBound && !stop) std::this_thread::yield();
        UseScope(code, tally, random, profile);
        ++used;
      }
      ++finished;
    });
  }

  long ran = 0;
  std::size_t mismatch = steps.size();
  go = true;
  const Clock::time_point pacing = Clock::now() + std::chrono::seconds(300);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    // Each step waits, running the queue, until the workers have come as far with
    // their least share: the recounts spread over the whole of the posting.
    const long due = static_cast<long>(i) * threads * least / static_cast<long>(steps.size());
    while (used < due && finished < threads && Clock::now() < pacing) {
      const int n = jobs.RunMainThreadJobs();
      ran += n;
      if (n == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    Apply(host, dialog, steps[i]);
    ran += jobs.RunMainThreadJobs();
    if (mismatch == steps.size() && FieldsOf(*dialog.window) != expected[i]) mismatch = i;
  }
  const long ranWhileRecounting = ran;
  stop = true;
  // The workers still posting, and those waiting for a job built in place, need
  // the main thread to keep running the queue.
  const Clock::time_point limit = Clock::now() + std::chrono::seconds(300);
  while (finished < threads && Clock::now() < limit) {
    const int n = jobs.RunMainThreadJobs();
    ran += n;
    if (n == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (finished < threads) {
    // A worker that never returns cannot be joined, nor the library unloaded under it.
    result.Fail("a worker was still posting or waiting for its job after 300 s");
    Abandon(result);
  }
  for (std::thread& worker : workers) worker.join();
  ran += jobs.RunMainThreadJobs();

  Tally total;
  for (const Tally& tally : tallies) total.Add(tally);
  result.figures["threads"] = threads;
  result.figures["jobs posted"] = static_cast<double>(total.posted);
  result.figures["jobs run"] = static_cast<double>(ran);
  result.figures["jobs run between recounts"] = static_cast<double>(ranWhileRecounting);
  result.figures["main-thread steps"] = static_cast<double>(steps.size());
  if (profile.refuseOneIn > 0) result.figures["jobs refused"] = static_cast<double>(total.refused);
  if (profile.failOneIn > 0) result.figures["jobs built in place"] = static_cast<double>(total.inPlace);
  if (total.dropped > 0) result.figures["posts given up"] = static_cast<double>(total.dropped);

  // Every fault the host saw while the threads ran comes first.
  TakeFaults(host, result);
  if (!total.fault.empty()) result.Fail(total.fault);
  if (mismatch < steps.size())
    result.Fail("after step " + std::to_string(mismatch) + " the dialog showed " +
                Describe(FieldsOf(*dialog.window)) + " where a run without threads showed " +
                Describe(expected[mismatch]));
  const long accepted = total.handedOver - total.refused;
  const std::vector<std::int32_t>& states = host.ApplicationModel().hostStates;
  const long begins = std::count(states.begin(), states.end(), kBegin);
  const long ends = std::count(states.begin(), states.end(), kEnd);
  if (begins != total.begins || ends != total.ends)
    result.Fail("the host state was set " + std::to_string(begins) + " times to 3 and " + std::to_string(ends) +
                " times to 2, for " + std::to_string(total.begins) + " and " + std::to_string(total.ends) +
                " jobs the host took");
  if (ran != accepted || jobs.Enqueued() != accepted)
    result.Fail(std::to_string(accepted) + " jobs taken by the host, " + std::to_string(jobs.Enqueued()) +
                " queued, " + std::to_string(ran) + " run");
  if (total.refused == 0 && total.dropped == 0) {
    // Each worker posts a begin before its end and the queue keeps their order: no
    // prefix of the run may hold more ends than begins.
    long open = 0;
    for (std::int32_t state : states)
      if ((open += state == kBegin ? 1 : -1) < 0) {
        result.Fail("the host state was ended before it was begun: jobs ran out of order");
        break;
      }
  }
  // A job built in place is waited for without limit and collected; a job on the
  // heap is never waited for and its reference is handed back at once.
  const auto waits = host.CallsTo(kWait);
  const auto results = host.CallsTo(kGetResult);
  for (const auto* calls : {&waits, &results})
    for (const testhost::Call& call : *calls)
      if (call.Float(1) != kNoTimeLimit || call.Int(2) != 0) {
        result.Fail("a job was waited for with a limit or a mode other than DEFAULT");
        break;
      }
  if (static_cast<long>(waits.size()) != total.waited || static_cast<long>(results.size()) != total.waited)
    result.Fail(std::to_string(waits.size()) + " waits and " + std::to_string(results.size()) + " results for " +
                std::to_string(total.waited) + " jobs built in place");
  const long onHeap = total.handedOver - (total.inPlace - total.dropped);
  if (static_cast<long>(host.CountCalls(kRemoveReference)) != onHeap)
    result.Fail(std::to_string(host.CountCalls(kRemoveReference)) + " job references handed back for " +
                std::to_string(onHeap) + " jobs on the heap");
  if (static_cast<long>(host.CountCalls(kEnqueue)) != total.handedOver)
    result.Fail(std::to_string(host.CountCalls(kEnqueue)) + " jobs enqueued for " + std::to_string(total.handedOver) +
                " handed over");
  if (host.CountCalls(kCancel) != 0) result.Fail("a job was cancelled");
  if (jobs.Queued() != 0 || jobs.Held() != 0) result.Fail("the host still holds jobs after the workers ended");

  Close(host, dialog);
  TakeFaults(host, result);
  if (host.Framework().LiveAllocations() != 0) result.Fail("framework memory left at unload");
}

// On the main thread the work runs at once: nothing is allocated or queued.
void MainThreadRunsAtOnce(const CaseContext& context, CaseResult& result) {
  testhost::Host host(context.plugin);
  ScopeCode code;
  if (!ReachScopeCode(host, code, result)) return;
  host.Init();
  host.Message(testhost::pluginmessage::kLoadResources);
  host.Start();
  const int allocations = host.Framework().AllocationCount();
  const std::vector<std::int32_t>& states = host.ApplicationModel().hostStates;
  alignas(8) unsigned char scope[8] = {};
  host.IntoPlugin([&] {
    code.construct(scope, true);
    if (states != std::vector<std::int32_t>{kBegin}) result.Fail("the begin did not run at once");
    code.end(scope);
    code.destroy(scope);
    return 0;
  });
  if (states != std::vector<std::int32_t>{kBegin, kEnd}) result.Fail("the end did not run at once, or ran twice");
  if (host.Framework().AllocationCount() != allocations) result.Fail("work on the main thread allocated a job");
  if (host.Framework().Jobs().Enqueued() != 0) result.Fail("work on the main thread was queued");
  host.End();
  host.Unload();
  TakeFaults(host, result);
}

// A lone worker whose job cannot be allocated waits until the main thread has run
// it, then the storm.
void WithoutMemory(const Profile& profile, const CaseContext& context, CaseResult& result) {
  {
    testhost::Host host(context.plugin);
    ScopeCode code;
    if (!ReachScopeCode(host, code, result)) return;
    InjectFaults(host);
    host.Init();
    host.Start();
    testhost::JobSystem& jobs = host.Framework().Jobs();
    std::atomic<bool> returned{false};
    std::thread lone([&] {
      alignas(8) unsigned char scope[8] = {};
      t_failingAllocations = 1;
      code.construct(scope, true);
      t_failingAllocations = 0;
      returned = true;
      code.destroy(scope);
    });
    const Clock::time_point limit = Clock::now() + std::chrono::seconds(60);
    while (jobs.Queued() == 0 && !returned && Clock::now() < limit) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (returned) result.Fail("a worker whose job was built in place returned before the main thread ran it");
    jobs.RunMainThreadUntil([&] { return returned.load(); }, 60);
    lone.join();
    jobs.RunMainThreadJobs();
    if (host.ApplicationModel().hostStates != std::vector<std::int32_t>{kBegin, kEnd})
      result.Fail("the lone worker's two jobs did not each run once");
    host.End();
    host.Unload();
    TakeFaults(host, result);
    if (host.Framework().LiveAllocations() != 0) result.Fail("framework memory left at unload");
  }
  if (result.passed) JobsWhileRecounting(profile, context, result);
}

}  // namespace

void AddThreadCases(std::vector<Case>& cases) {
  cases.push_back({"threads.main-thread-at-once", 1, false, MainThreadRunsAtOnce});
  cases.push_back({"threads.jobs-while-recounting", 1, true, [](const CaseContext& context, CaseResult& result) {
                     JobsWhileRecounting(Profile{}, context, result);
                   }});
  cases.push_back({"threads.jobs-refused", 2, true, [](const CaseContext& context, CaseResult& result) {
                     JobsWhileRecounting(Profile{4, 0}, context, result);
                   }});
  cases.push_back({"threads.jobs-without-memory", 2, true, [](const CaseContext& context, CaseResult& result) {
                     WithoutMemory(Profile{0, 4}, context, result);
                   }});
  cases.push_back({"threads.jobs-refused-without-memory", 2, true, [](const CaseContext& context, CaseResult& result) {
                     JobsWhileRecounting(Profile{3, 3}, context, result);
                   }});
}

}  // namespace validate
