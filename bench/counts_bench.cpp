// UpdateCounts on large hierarchies, against the test host walking its own scene,
// with the strict host (every check on, as the tests and statlume-host run it,
// without the call record) and with the bare host (Host::SetBareAnswers: the same
// answers without the checks). Then one recount after a scene change, split into
// the host's side of the modeling commands and the plug-in's share.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "Statlume.h"
#include "object.h"
#include "testhost/host.h"
#include "timing.h"

namespace {

using testhost::ObjectKind;
using testhost::SceneObject;

struct Counts {
  std::int64_t polygons = 0, points = 0, ngons = 0, objects = 0;
};

// The baseline: the host's own pre-order walk over its objects.
Counts HostWalk(const SceneObject* root) {
  Counts counts;
  const SceneObject* current = root;
  while (current != nullptr) {
    counts.polygons += current->polygons;
    if (current->polygons > 0) counts.ngons += current->ngons;
    counts.points += current->points;
    ++counts.objects;
    if (current->firstChild != nullptr) {
      current = current->firstChild;
      continue;
    }
    while (current != root && current->next == nullptr) current = current->parent;
    current = current == root ? nullptr : current->next;
  }
  return counts;
}

// The baseline of the full update: the host converts, walks and joins by itself.
Counts HostFull(testhost::Scene& scene, SceneObject* root) {
  testhost::CommandRecord editable{};
  editable.object = root;
  scene.RunCommand(245, &editable);
  SceneObject* copy = scene.ResultAt(editable.result, 0);
  Counts counts = HostWalk(copy);
  testhost::CommandRecord join{};
  join.object = copy;
  scene.RunCommand(246, &join);
  SceneObject* merged = scene.ResultAt(join.result, 0);
  counts.polygons += merged->polygons;
  scene.FreeResultList(&editable.result);
  scene.FreeResultList(&join.result);
  scene.FreeObject(merged);
  scene.FreeObject(copy);
  scene.ForgetFreedCopies();
  return counts;
}

enum class Shape { kWide, kDeep, kMixed };

SceneObject* Build(testhost::Scene& scene, testhost::Document* document, Shape shape, int size) {
  SceneObject* root = scene.AddPolygonObject(document, 8, 6, 0);
  SceneObject* parent = root;
  for (int i = 1; i < size; ++i) {
    SceneObject* under = shape == Shape::kWide ? root : shape == Shape::kDeep ? parent : nullptr;
    if (shape == Shape::kMixed) under = i % 10 == 1 ? root : parent;  // chains of ten below the root
    SceneObject* object = i % 3 == 0 ? scene.AddGenerator(document, ObjectKind::Cube, 1, under)
                                     : scene.AddPolygonObject(document, 8, 6, i % 2, under);
    parent = object;
  }
  return root;
}

const char* Name(Shape shape) { return shape == Shape::kWide ? "wide" : shape == Shape::kDeep ? "deep" : "mixed"; }

// Times the host's side of the modeling commands: the entries that run them, hand
// out their results and take results and lists back, wrapped around whatever their
// table slots hold (the strict entries or the bare ones).
class CommandClock {
 public:
  explicit CommandClock(testhost::Host& host) : host_(host) {
    Wrap<RunCommand>(testhost::entry::RunModelingCommand);
    Wrap<ResultAt>(testhost::entry::ResultListAt);
    Wrap<FreeList>(testhost::entry::FreeResultList);
    Wrap<FreeObject>(testhost::entry::FreeObject);
    seconds_ = 0;
  }
  ~CommandClock() {
    for (const auto& [entry, original] : originals_) host_.SetRawEntry(entry, original);
  }
  double Seconds() const { return seconds_; }
  void Reset() { seconds_ = 0; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Timed {
    Timed() : start(Clock::now()) {}
    ~Timed() { seconds_ += std::chrono::duration<double>(Clock::now() - start).count(); }
    Clock::time_point start;
  };
  // Each wrapper calls the entry it replaced.
  template <typename F>
  struct Slot {
    static inline F* original = nullptr;
  };
  using RunCommandFn = std::uint64_t(std::int32_t, void*);
  using ResultAtFn = SceneObject*(const void*, std::int32_t);
  using FreeListFn = void(testhost::ResultListValue**);
  using FreeObjectFn = void(void*);
  static std::uint64_t RunCommand(std::int32_t command, void* record) {
    const Timed timed;
    return Slot<RunCommandFn>::original(command, record);
  }
  static SceneObject* ResultAt(const void* list, std::int32_t index) {
    const Timed timed;
    return Slot<ResultAtFn>::original(list, index);
  }
  static void FreeList(testhost::ResultListValue** field) {
    const Timed timed;
    Slot<FreeListFn>::original(field);
  }
  static void FreeObject(void* object) {
    const Timed timed;
    Slot<FreeObjectFn>::original(object);
  }
  template <auto Wrapper>
  void Wrap(const testhost::EntryId& entry) {
    using Fn = std::remove_pointer_t<decltype(Wrapper)>;
    void* original = host_.Tables().RawEntry(entry);
    Slot<Fn>::original = reinterpret_cast<Fn*>(original);
    originals_.emplace_back(entry, original);
    host_.SetRawEntry(entry, reinterpret_cast<void*>(Wrapper));
  }

  static inline double seconds_ = 0;
  testhost::Host& host_;
  std::vector<std::pair<testhost::EntryId, void*>> originals_;
};

struct Scenario {
  testhost::Document* document;
  SceneObject* root;
  std::unique_ptr<StatlumeDialog> dialog;
};

Scenario Open(testhost::Scene& scene, Shape shape, int size) {
  testhost::Document* document = scene.NewDocument();
  scene.SetActiveDocument(document);
  SceneObject* root = Build(scene, document, shape, size);
  scene.SetActive(document, root);
  auto dialog = std::make_unique<StatlumeDialog>();
  dialog->OpenWindow(DLG_TYPE::ASYNC, ID_STATLUME_COMMAND, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE);
  return {document, root, std::move(dialog)};
}

void Recount(testhost::Scene& scene, Scenario& scenario) {
  scenario.dialog->UpdateCounts(reinterpret_cast<BaseDocument*>(scenario.document),
                                reinterpret_cast<BaseObject*>(scenario.root));
  scene.ForgetFreedCopies();
}

// ns per object of the current pass and of the full update, on the host as it is set.
struct PerObject {
  double current, full;
};
PerObject MeasureUpdate(testhost::Scene& scene, Scenario& scenario, int size) {
  const int runs = size >= 1000000 ? 5 : size >= 100000 ? 11 : 201;
  auto* document = reinterpret_cast<BaseDocument*>(scenario.document);
  auto* object = reinterpret_cast<BaseObject*>(scenario.root);
  scene.FailCommand(kCommandMakeEditable);  // the update stops after the current pass
  const double current = bench::MedianMicroseconds(runs, [&] { scenario.dialog->UpdateCounts(document, object); });
  scene.HealCommand(kCommandMakeEditable);
  const double full = bench::MedianMicroseconds(size >= 1000000 ? 3 : runs, [&] { Recount(scene, scenario); });
  return {current * 1000.0 / size, full * 1000.0 / size};
}

void PrintUpdates(testhost::Host& host) {
  testhost::Scene& scene = host.SceneModel();
  std::printf("UpdateCounts, ns per object (median). The current pass against the host's own walk; the full\n"
              "update against the host converting, walking and joining by itself. Strict: every check on.\n"
              "Bare: the same answers without the checks.\n");
  std::printf("%-6s %8s %9s %9s %6s %9s %6s %9s %9s %6s %9s %6s\n", "shape", "objects", "host walk", "strict",
              "ratio", "bare", "ratio", "host full", "strict", "ratio", "bare", "ratio");
  for (Shape shape : {Shape::kWide, Shape::kDeep, Shape::kMixed}) {
    for (int size : {1000, 100000, 1000000}) {
      Scenario scenario = Open(scene, shape, size);
      const int runs = size >= 1000000 ? 5 : size >= 100000 ? 11 : 201;
      Counts sink;
      const double walk = bench::MedianMicroseconds(runs, [&] { sink = HostWalk(scenario.root); }) * 1000.0 / size;
      const double full =
          bench::MedianMicroseconds(size >= 1000000 ? 3 : runs, [&] { sink = HostFull(scene, scenario.root); }) *
          1000.0 / size;
      const PerObject strict = MeasureUpdate(scene, scenario, size);
      host.SetBareAnswers(true);
      const PerObject bare = MeasureUpdate(scene, scenario, size);
      host.SetBareAnswers(false);
      std::printf("%-6s %8d %9.2f %9.2f %6.2f %9.2f %6.2f %9.2f %9.2f %6.2f %9.2f %6.2f\n", Name(shape), size, walk,
                  strict.current, strict.current / walk, bare.current, bare.current / walk, full, strict.full,
                  strict.full / full, bare.full, bare.full / full);
      if (sink.objects != size) std::printf("  (host walk counted %lld objects)\n", static_cast<long long>(sink.objects));
      scenario.dialog.reset();
    }
  }
}

// One recount after a scene change (an object's points edited), the median of a few:
// all of it, the host's side of the modeling commands, and the rest, the plug-in's.
void PrintRecounts(testhost::Host& host) {
  testhost::Scene& scene = host.SceneModel();
  std::printf("\nOne recount after a scene change, mixed hierarchy, median ms: the host's modeling commands\n"
              "(running them: conversion, join, its checks and records, freeing the results) against the\n"
              "plug-in's share (its walks over the scene and the results, through the host's answers).\n");
  std::printf("%-6s %8s %9s %9s %9s %9s\n", "host", "objects", "recount", "commands", "plug-in", "ratio");
  for (int size : {20000, 1000000}) {
    Scenario scenario = Open(scene, Shape::kMixed, size);
    for (bool bare : {false, true}) {
      host.SetBareAnswers(bare);
      std::vector<double> totals, commands;
      CommandClock clock(host);
      for (int run = 0; run < (size >= 1000000 ? 5 : 51); ++run) {
        scenario.root->points += 1;  // the scene changes
        clock.Reset();
        const double total = bench::MedianMicroseconds(1, [&] { Recount(scene, scenario); }) / 1000.0;
        totals.push_back(total);
        commands.push_back(clock.Seconds() * 1000.0);
      }
      std::vector<double> plugin(totals.size());
      for (std::size_t i = 0; i < totals.size(); ++i) plugin[i] = totals[i] - commands[i];
      auto median = [](std::vector<double> values) {
        std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
        return values[values.size() / 2];
      };
      const double hostShare = median(commands), pluginShare = median(plugin);
      std::printf("%-6s %8d %9.2f %9.2f %9.2f %9.2f\n", bare ? "bare" : "strict", size, median(totals), hostShare,
                  pluginShare, hostShare / pluginShare);
    }
    host.SetBareAnswers(false);
    scenario.dialog.reset();
  }
}

}  // namespace

int main() {
  auto host = testhost::Host::TablesOnly();
  host->Framework().Bind(&g_framework);
  host->Framework().RunStartFunctions();
  BindHostTables(reinterpret_cast<const HostOS*>(&host->Record()));
  host->SetRecording(false);
  PrintUpdates(*host);
  PrintRecounts(*host);
  return host->Failures().empty() ? 0 : 1;
}
