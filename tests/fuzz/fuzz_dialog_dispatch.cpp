// The dialog's message dispatch with whatever containers a host may send: the
// command is run as the user runs it, then each input is a sequence of messages
// (codes and keyed values, mostly the host's real ones), scene edits, menu
// choices, closes and reopens. Each input gets a fresh host and library; no input
// may leave the host with a fault.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "testhost/commands.h"
#include "testhost/full_session.h"
#include "testhost/host.h"
#include "testhost/numbers.h"

namespace {

using namespace testhost;

// The codes a host sends to an open dialog. The layout, initial-values and
// destroyed messages are not among them: the host sends those when it opens and
// closes the window, which the input does through Open and Close.
constexpr std::int32_t kCodes[] = {code::MciM, code::sync, code::bACT, code::chkc, code::askc, code::inta,
                                   code::visF, code::visT, code::kTimer, code::bTIC, code::bCAS, code::bISI,
                                   code::bDRA, code::bIPN, code::kCustomGuiMessage, code::vint, code::vflt,
                                   code::frmt, code::mini, code::maxi, code::step, code::quad, 0};
constexpr std::int32_t kKeys[] = {code::MciI, code::meid, code::tris, code::valu, code::kDrawX1, code::kDrawY1,
                                  code::kDrawX2, code::kDrawY2, code::laym, code::defh, code::meva, 0, 1, -1};
constexpr std::int32_t kValues[] = {code::kSceneChanged, 605, tool::kCommandId, tool::kIncludeChildren, tool::kPause,
                                    tool::kIncludeNonPoly, tool::kAbout, tool::kHelpFile, tool::kGrid,
                                    tool::kPolygonsEditable, tool::kNgonsCurrent, tool::kLabelPolygons, 0, 1, -1,
                                    0x7fffffff, static_cast<std::int32_t>(0x80000000)};
constexpr std::int32_t kMenuItems[] = {tool::kIncludeChildren, tool::kPause, tool::kIncludeNonPoly, tool::kAbout,
                                       tool::kHelpFile};

bool IsOpeningOrClosing(std::int32_t code) { return code == code::bINI || code == code::bVIN || code == code::dsty; }

std::map<std::int32_t, std::int64_t> RandomKeys(FuzzedDataProvider& in) {
  std::map<std::int32_t, std::int64_t> keys;
  for (int count = in.ConsumeIntegralInRange<int>(0, 4); count > 0; --count) {
    const std::int32_t key = fuzz::MostlyOneOf(in, kKeys);
    keys[key] = in.ConsumeBool() ? fuzz::MostlyOneOf(in, kValues) : in.ConsumeIntegral<std::int64_t>();
  }
  return keys;
}

// A count as a scene may hold one: small, at the top of the Int32 range, or any.
std::int32_t Count(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegralInRange<std::int32_t>(0, 64);
    case 1: return INT32_MAX - in.ConsumeIntegralInRange<std::int32_t>(0, 2);
    default: return in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
  }
}

// The user edits an object of the scene: its counts, or a generator's segments.
void EditScene(FuzzedDataProvider& in, const SessionScene& scene) {
  std::vector<SceneObject*> objects;
  for (SceneObject* root = scene.document->firstRoot; root != nullptr; root = root->next) {
    std::vector<SceneObject*> pending{root};
    while (!pending.empty()) {
      SceneObject* object = pending.back();
      pending.pop_back();
      objects.push_back(object);
      for (SceneObject* child = object->firstChild; child != nullptr; child = child->next) pending.push_back(child);
    }
  }
  SceneObject* object = objects[in.ConsumeIntegralInRange<std::size_t>(0, objects.size() - 1)];
  if (IsGenerator(object->kind)) {
    object->segments = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int32_t>(1, 64) : std::max(1, Count(in));
  } else if (object->kind == ObjectKind::Polygon || object->kind == ObjectKind::Point) {
    object->points = Count(in);
    if (object->kind == ObjectKind::Polygon) {
      object->polygons = Count(in);
      object->ngons = std::min(object->polygons, Count(in));
    }
  }
}

Window* OpenDialog(Windows& windows) {
  Window* window = windows.ByPluginId(tool::kCommandId);
  return window != nullptr && window->open ? window : nullptr;
}

void RunInput(FuzzedDataProvider& in) {
  auto host = std::make_unique<Host>();
  const SessionScene scene = BuildSessionScene(host->SceneModel());
  host->Init();
  host->Message(pluginmessage::kLoadResources);
  host->Start();
  Commands& commands = host->CommandModel();
  Windows& windows = host->WindowModel();
  RegisteredCommand* command = commands.ById(tool::kCommandId);
  if (command == nullptr) fuzz::Fail("the plug-in registered no command", host->Failures());
  commands.Run(*command);
  if (OpenDialog(windows) == nullptr) fuzz::Fail("the command opened no dialog", host->Failures());
  fuzz::RequireNoFailure(*host, "opening the dialog");

  for (int steps = 0; steps < 64 && in.remaining_bytes() > 0; ++steps) {
    Window* window = OpenDialog(windows);
    const int step = in.ConsumeIntegralInRange<int>(0, 9);
    if (window == nullptr) {
      // The dialog is closed: the user runs the command again, or the host
      // restores it from a saved layout, or asks the command's state.
      if (step < 5) commands.Run(*command);
      else if (step < 7) commands.Restore(*command, windows.IssueLayoutToken());
      else if (step < 8) commands.QueryState(*command);
      else commands.QueryText(*command);
    } else if (step < 5) {
      std::int32_t code = fuzz::MostlyOneOf(in, kCodes);
      if (IsOpeningOrClosing(code)) code = code::MciM;
      windows.Send(*window, code, RandomKeys(in));
    } else if (step == 5) {
      EditScene(in, scene);
      windows.Send(*window, in.ConsumeBool() ? code::MciM : code::sync, {{code::MciI, code::kSceneChanged}});
    } else if (step == 6) {
      windows.Send(*window, code::bACT, {{code::meid, fuzz::MostlyOneOf(in, kMenuItems)}});
    } else if (step == 7) {
      windows.Close(*window);
    } else if (step == 8) {
      commands.QueryState(*command);
    } else {
      // The user runs the command while its dialog is open.
      commands.Run(*command);
    }
    fuzz::RequireNoFailure(*host, "after a step");
  }
  if (Window* window = OpenDialog(windows)) windows.Close(*window);
  host->Unload();
  fuzz::RequireNoFailure(*host, "at unload");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  RunInput(in);
  return 0;
}
