// UpdateCounts on large hierarchies, against the test host walking its own scene.
#include <cstdio>
#include <memory>
#include <string>
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
  scene.FreeObject(merged);
  scene.FreeObject(copy);
  scene.FreeResultList(&editable.result);
  scene.FreeResultList(&join.result);
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

}  // namespace

int main() {
  auto host = testhost::Host::TablesOnly();
  host->Framework().Bind(&g_framework);
  host->Framework().RunStartFunctions();
  BindHostTables(reinterpret_cast<const HostOS*>(&host->Record()));
  host->SetRecording(false);
  testhost::Scene& scene = host->SceneModel();
  scene.SetValidation(false);

  std::printf("UpdateCounts, ns per object (median). Current pass against the host's own walk;\n"
              "full update against the host converting, walking and joining by itself.\n");
  std::printf("%-6s %8s %10s %10s %7s %11s %10s %7s\n", "shape", "objects", "host walk", "current", "ratio",
              "host full", "full", "ratio");
  for (Shape shape : {Shape::kWide, Shape::kDeep, Shape::kMixed}) {
    for (int size : {1000, 100000, 1000000}) {
      testhost::Document* document = scene.NewDocument();
      scene.SetActiveDocument(document);
      SceneObject* root = Build(scene, document, shape, size);
      scene.SetActive(document, root);
      auto dialog = std::make_unique<StatlumeDialog>();
      dialog->OpenWindow(DLG_TYPE::ASYNC, ID_STATLUME_COMMAND, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE);
      auto* doc = reinterpret_cast<BaseDocument*>(document);
      auto* object = reinterpret_cast<BaseObject*>(root);
      const int runs = size >= 1000000 ? 5 : size >= 100000 ? 11 : 201;

      Counts sink;
      const double host_us = bench::MedianMicroseconds(runs, [&] { sink = HostWalk(root); });
      scene.FailCommand(kCommandMakeEditable);  // the update stops after the current pass
      const double current_us = bench::MedianMicroseconds(runs, [&] { dialog->UpdateCounts(doc, object); });
      scene.HealCommand(kCommandMakeEditable);
      const int fullRuns = size >= 1000000 ? 3 : runs;
      const double hostFull_us = bench::MedianMicroseconds(fullRuns, [&] { sink = HostFull(scene, root); });
      const double full_us = bench::MedianMicroseconds(fullRuns, [&] {
        dialog->UpdateCounts(doc, object);
        scene.ForgetFreedCopies();
      });
      const double perObject = 1000.0 / size;
      std::printf("%-6s %8d %10.2f %10.2f %7.2f %11.2f %10.2f %7.2f\n", Name(shape), size, host_us * perObject,
                  current_us * perObject, current_us / host_us, hostFull_us * perObject, full_us * perObject,
                  full_us / hostFull_us);
      if (sink.objects != size) std::printf("  (host walk counted %lld objects)\n", static_cast<long long>(sink.objects));
      dialog.reset();
    }
  }
  return host->Failures().empty() ? 0 : 1;
}
