#include "recounting_dialog.h"
#include "testhost/host.h"

#include <random>

namespace validate {

namespace {

constexpr int kFields[] = {testhost::tool::kPolygonsEditable, testhost::tool::kPolygonsCurrent,
                           testhost::tool::kPointsEditable,   testhost::tool::kPointsCurrent,
                           testhost::tool::kObjectsEditable,  testhost::tool::kObjectsCurrent,
                           testhost::tool::kNgonsEditable,    testhost::tool::kNgonsCurrent};

}  // namespace

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

std::vector<Step> Steps(std::uint64_t seed, int count) {
  std::mt19937_64 random(seed);
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) steps.push_back(static_cast<Step>(random() % 7));
  return steps;
}

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

}  // namespace validate
