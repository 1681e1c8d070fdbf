// Scenes of every shape under the statistics dialog: empty, single objects of each
// kind, deep chains, wide groups, mixed hierarchies up to a million objects, with
// random edits between scene changes and the host's conversions failing at
// random. After every step the eight fields must show exactly what the host's own
// count of its scene gives (or zeros where a conversion failed), and the host may
// see no fault: nothing kept, nothing freed twice, no scene object touched.
#include <random>

#include "cases.h"
#include "dialog_driver.h"
#include "random_scene.h"

namespace validate {

namespace {

namespace tool = testhost::tool;
using testhost::ObjectKind;
using testhost::SceneObject;

// Objects in the big scenes of a level: a few thousand up to level 3, a million
// at level 10.
std::size_t SceneSize(int level) {
  static constexpr std::size_t kSizes[] = {300,    300,    2000,   8000,   30000, 60000,
                                           120000, 250000, 450000, 700000, 1000000};
  return kSizes[level < 1 ? 1 : level > 10 ? 10 : level];
}

// Big scenes: calls are not recorded and freed copies are forgotten after each
// step, or the host's bookkeeping would outgrow the scene many times over.
constexpr std::size_t kBigScene = 20000;

void Figures(DialogDriver& driver, CaseResult& result, std::size_t objects) {
  result.figures["objects"] = static_cast<double>(objects);
  result.figures["steps"] = driver.Steps();
  result.figures["messages sent"] = static_cast<double>(driver.Messages());
  result.figures["conversions"] = static_cast<double>(driver.Scene().CommandsRun());
}

// How a run of steps goes.
struct Plan {
  int steps = 10;
  std::size_t maxEdits = 3;     // edits before each scene change
  unsigned failOneIn = 0;       // the conversions change how they fail one step in this many (0: never)
  bool hostVariants = false;    // the host keeps result lists or gives results with neighbours, at random
  bool pause = false;           // pause toggled now and then
  SceneObject* root = nullptr;  // selected now and then, so that the whole hierarchy is counted
  bool big = false;
};

// Each step: a few edits, then a scene change or an option chosen from the menu;
// the fields are checked against the host's count after each.
void Steps(DialogDriver& driver, RandomScene& scene, const Plan& plan) {
  for (int step = 0; step < plan.steps && driver.Ok(); ++step) {
    for (std::size_t edits = scene.Below(plan.maxEdits + 1); edits > 0; --edits)
      if (!driver.Check(scene.Edit())) return;
    if (plan.root != nullptr && scene.OneIn(3) && driver.Scene().IsSceneObject(plan.root)) {
      scene.Select(plan.root);
      if (!driver.Check("selected the top of the hierarchy")) return;
    }
    if (plan.failOneIn != 0 && scene.OneIn(plan.failOneIn)) {
      const auto conversion = static_cast<DialogDriver::Conversion>(
          scene.OneIn(3) ? 0 : scene.Below(DialogDriver::kConversionModes));
      driver.SetConversion(conversion);
      if (!driver.Check(DialogDriver::Describe(conversion))) return;
    }
    if (plan.hostVariants && scene.OneIn(4)) {
      driver.Scene().SetListPolicy(scene.OneIn(2) ? testhost::Scene::ListPolicy::kAppend
                                                   : testhost::Scene::ListPolicy::kReplace);
      driver.Scene().SetResultNeighbours(scene.OneIn(2));
    }
    const std::size_t roll = scene.Below(10);
    if (roll < 6) {
      if (!driver.SceneChanged()) return;
      if (!driver.Model().paused && !driver.CheckCounts("scene changed after step " + std::to_string(step))) return;
    } else if (roll < 9 || !plan.pause) {
      const std::int32_t item = scene.OneIn(2) ? tool::kIncludeChildren : tool::kIncludeNonPoly;
      if (!driver.Choose(item)) return;
      if (!driver.Model().paused && scene.Active() != nullptr &&
          !driver.CheckCounts("menu item " + std::to_string(item) + " at step " + std::to_string(step)))
        return;
    } else {
      if (!driver.Choose(tool::kPause)) return;
      if (!driver.Model().paused && scene.Active() != nullptr && !driver.CheckCounts("pause released")) return;
    }
    if (plan.big) driver.Scene().ForgetFreedCopies();
  }
}

// Opens the dialog on a scene built by `build`, runs the steps and unloads.
template <typename Build>
void OnScene(const CaseContext& context, CaseResult& result, Plan plan, Build&& build) {
  std::mt19937_64 random(context.seed);
  DialogDriver driver(context, result);
  RandomScene scene(driver.Scene(), driver.Document(), random);
  build(scene, plan);
  scene.KeepAtLeast(scene.Objects().size() / 2);
  plan.big = scene.Objects().size() > kBigScene;
  if (plan.big) driver.Host().SetRecording(false);
  if (driver.Start() && driver.RunCommand() && driver.CheckCounts("opened")) Steps(driver, scene, plan);
  driver.SetConversion(DialogDriver::Conversion::kWorks);
  if (driver.Ok()) driver.Finish();
  Figures(driver, result, scene.Objects().size());
}

// Nothing to count: an empty document, objects none of which is selected, a
// selected object deleted, and another document made active and back.
void EmptyScene(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  DialogDriver driver(context, result);
  RandomScene scene(driver.Scene(), driver.Document(), random);
  auto run = [&] {
    if (!driver.Start() || !driver.RunCommand() || !driver.CheckCounts("opened on an empty document")) return;
    if (!driver.SceneChanged() || !driver.CheckCounts("empty document")) return;
    for (std::int32_t item : {tool::kIncludeChildren, tool::kIncludeNonPoly, tool::kPause, tool::kPause,
                              tool::kIncludeNonPoly, tool::kIncludeChildren})
      if (!driver.Choose(item) || !driver.CheckCounts("option on an empty document")) return;
    // Objects, none selected.
    SceneObject* group = scene.Add(ObjectKind::Null, nullptr);
    scene.Add(ObjectKind::Polygon, group);
    scene.Add(ObjectKind::Cube, nullptr);
    if (!driver.SceneChanged() || !driver.CheckCounts("nothing selected")) return;
    // An empty group selected: one object, nothing editable unless non-polygon
    // objects count.
    SceneObject* lone = scene.Add(ObjectKind::Null, nullptr);
    scene.Select(lone);
    if (!driver.SceneChanged() || !driver.CheckCounts("an empty group selected")) return;
    if (!driver.Choose(tool::kIncludeNonPoly) || !driver.CheckCounts("an empty group, non-polygon objects on"))
      return;
    if (!driver.Choose(tool::kIncludeChildren) || !driver.CheckCounts("an empty group alone")) return;
    // The selection deleted: cleared.
    driver.Scene().Remove(lone);
    if (!driver.SceneChanged() || !driver.CheckCounts("the selected object deleted")) return;
    // Another document active, with a selection, then the empty one again.
    testhost::Document* other = driver.Scene().NewDocument();
    SceneObject* mesh = driver.Scene().AddPolygonObject(other, 8, 6, 1);
    driver.Scene().SetActive(other, mesh);
    driver.Scene().SetActiveDocument(other);
    if (!driver.SceneChanged() || !driver.CheckCounts("another document")) return;
    driver.Scene().SetActiveDocument(driver.Document());
    if (!driver.SceneChanged() || !driver.CheckCounts("the first document again")) return;
    // An empty document opened anew.
    if (!driver.Close() || !driver.RunCommand() || !driver.CheckCounts("reopened on nothing")) return;
    driver.Finish();
  };
  run();
  Figures(driver, result, scene.Objects().size());
}

// Each kind alone, among siblings and below a parent, with random geometry, under
// each of the four combinations of the counting options.
void SingleObjects(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  DialogDriver driver(context, result);
  RandomScene scene(driver.Scene(), driver.Document(), random);
  auto run = [&] {
    if (!driver.Start() || !driver.RunCommand()) return;
    static constexpr ObjectKind kKinds[] = {ObjectKind::Polygon, ObjectKind::Point,  ObjectKind::Null,
                                           ObjectKind::Camera,  ObjectKind::Instance, ObjectKind::Cube,
                                           ObjectKind::Sphere,  ObjectKind::Plane};
    const int rounds = 3 * context.level;
    for (int round = 0; round < rounds; ++round) {
      for (ObjectKind kind : kKinds) {
        // Where it stands: alone, before later siblings, or below a parent of geometry.
        SceneObject* parent = nullptr;
        const std::size_t where = scene.Below(3);
        if (where == 2) parent = scene.Add(ObjectKind::Polygon, nullptr);
        SceneObject* object = scene.Add(kind, parent);
        if (where >= 1) scene.Add(scene.AnyKind(), parent);
        if (scene.OneIn(4)) object->infoFlags ^= testhost::kInfoGeometry;
        scene.Select(object);
        const std::string name = "round " + std::to_string(round) + ", kind " + std::to_string(testhost::TypeOf(kind));
        if (!driver.SceneChanged() || !driver.CheckCounts(name)) return;
        for (std::int32_t item : {tool::kIncludeNonPoly, tool::kIncludeChildren, tool::kIncludeNonPoly,
                                  tool::kIncludeChildren})
          if (!driver.Choose(item) || !driver.CheckCounts(name + ", menu item " + std::to_string(item))) return;
      }
    }
    driver.Finish();
  };
  run();
  Figures(driver, result, scene.Objects().size());
}

// One long chain of mixed kinds beside a few short ones: the walk must go all the
// way down and never out into the neighbours.
void Chains(const CaseContext& context, CaseResult& result) {
  Plan plan;
  plan.steps = context.level <= 3 ? 8 * context.level : 10;
  plan.maxEdits = 2;
  OnScene(context, result, plan, [&](RandomScene& scene, Plan& chosen) {
    const std::size_t size = SceneSize(context.level);
    scene.Chain(3 + scene.Below(5));
    SceneObject* top = scene.Chain(size);
    scene.Chain(3 + scene.Below(5));
    scene.Select(top);
    chosen.root = top;
  });
}

// A group with every object side by side below it, some of them groups again.
void Wide(const CaseContext& context, CaseResult& result) {
  Plan plan;
  plan.steps = context.level <= 3 ? 8 * context.level : 10;
  plan.maxEdits = 2;
  OnScene(context, result, plan, [&](RandomScene& scene, Plan& chosen) {
    const std::size_t size = SceneSize(context.level);
    scene.AddAny(nullptr);
    SceneObject* group = scene.Wide(size - size / 16);
    for (std::size_t more = size / 16; more > 0;) {
      const std::size_t run = std::min<std::size_t>(more, 1 + scene.Below(40));
      scene.Wide(run, scene.Objects()[1 + scene.Below(scene.Objects().size() - 1)]);
      more -= run;
    }
    scene.AddAny(nullptr);
    scene.Select(group);
    chosen.root = group;
  });
}

// A mixed hierarchy the size of the level's big scenes below one group.
void LargeMixed(const CaseContext& context, CaseResult& result) {
  Plan plan;
  plan.steps = context.level <= 3 ? 8 * context.level : 10;
  plan.maxEdits = 2;
  plan.pause = true;
  OnScene(context, result, plan, [&](RandomScene& scene, Plan& chosen) {
    SceneObject* root = scene.Add(ObjectKind::Null, nullptr);
    scene.Mixed(SceneSize(context.level), root);
    scene.Select(root);
    chosen.root = root;
  });
}

// Many small steps on a mid-sized hierarchy: every kind of edit, the options and
// the pause, scene change after scene change.
void RandomEdits(const CaseContext& context, CaseResult& result) {
  Plan plan;
  plan.steps = 100 * context.level;
  plan.maxEdits = 4;
  plan.pause = true;
  OnScene(context, result, plan, [&](RandomScene& scene, Plan&) {
    scene.Mixed(40 + 10 * static_cast<std::size_t>(context.level));
    scene.Select(scene.Objects().front());
  });
}

// The host's conversions fail in every way at random (a command refused, the
// entry answering false, no result to take out), and the host keeps result lists
// or puts its own objects beside the results: a failure shows zeros in all eight
// fields, every result the plug-in took is freed, and the next working conversion
// shows the counts again.
void FailingConversions(const CaseContext& context, CaseResult& result) {
  Plan plan;
  plan.steps = 60 * context.level;
  plan.maxEdits = 2;
  plan.failOneIn = 1;
  plan.hostVariants = true;
  OnScene(context, result, plan, [&](RandomScene& scene, Plan& chosen) {
    SceneObject* root = scene.Add(ObjectKind::Null, nullptr);
    scene.Mixed(30 + 5 * static_cast<std::size_t>(context.level), root);
    scene.Select(root);
    chosen.root = root;
  });
}

}  // namespace

void AddSceneCases(std::vector<Case>& cases) {
  cases.push_back({"scene.empty", 2, false, {},
                   "nothing to count: an empty document, nothing selected, the selection deleted, another "
                   "document made active and back",
                   EmptyScene});
  cases.push_back({"scene.single-objects", 2, true, {},
                   "each kind of object alone, among siblings and below a parent, under all four combinations "
                   "of the counting options",
                   SingleObjects});
  cases.push_back({"scene.chains", 2, true, {},
                   "one deep chain beside short ones, up to a million objects at level 10: the count goes all "
                   "the way down and never into the neighbours",
                   Chains});
  cases.push_back({"scene.wide", 2, true, {},
                   "a group with the level's objects side by side below it, some of them groups again",
                   Wide});
  cases.push_back({"scene.large-mixed", 2, true, {},
                   "a mixed hierarchy of the level's size (a million objects at level 10) with edits, options "
                   "and pauses",
                   LargeMixed});
  cases.push_back({"scene.random-edits", 2, true, {},
                   "many small edits, option changes and pauses on a mid-sized hierarchy, scene change after "
                   "scene change",
                   RandomEdits});
  cases.push_back({"scene.failing-conversions", 2, true, {},
                   "the host's conversions failing in every way at random: a failure shows zeros, every result "
                   "taken is freed, the next working conversion shows the counts again",
                   FailingConversions});
}

}  // namespace validate
