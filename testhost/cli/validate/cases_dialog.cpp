// The statistics dialog under random message streams: known and unknown codes,
// messages with keys missing or extra, random element and core message ids,
// layout and value messages out of order, destroy messages, windows opened,
// closed and restored again and again, and the three options toggled between
// scene changes and failing conversions. After every message the window must show
// what the dialog model says, the answers must be the bridge's, and the host may
// see no fault; when the stream settles, the eight fields must equal the host's
// own count of the scene.
#include <cstdio>
#include <random>

#include "cases.h"
#include "dialog_driver.h"
#include "random_scene.h"

namespace validate {

namespace {

namespace code = testhost::code;
namespace tool = testhost::tool;
using Keys = std::map<std::int32_t, std::int64_t>;

struct Draw {
  std::int32_t code;
  Keys keys;
  std::string what;
};

std::string Hex(std::int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(static_cast<std::uint32_t>(value)));
  return text;
}

class MessageStream {
 public:
  explicit MessageStream(RandomScene& scene) : r_(scene) {}

  // One message of the mix a host may send, with now and then keys the message
  // does not carry.
  Draw Next() {
    Draw draw = Pick();
    if (r_.OneIn(5))
      for (std::size_t extra = 1 + r_.Below(3); extra > 0; --extra) draw.keys[AnyInt()] = AnyInt();
    return draw;
  }

  // A menu choice of the Options menu.
  Draw Option() {
    static constexpr std::int32_t kItems[] = {tool::kIncludeChildren, tool::kIncludeNonPoly, tool::kPause};
    const std::int32_t item = kItems[r_.Below(3)];
    return {code::bACT, {{code::meid, item}}, "menu item " + std::to_string(item)};
  }

 private:
  std::int32_t AnyInt() {
    switch (r_.Below(4)) {
      case 0: return static_cast<std::int32_t>(r_.Between(-3, 3));
      case 1: return r_.Between(0, 20000);
      default: return static_cast<std::int32_t>(r_.Between(INT32_MIN, INT32_MAX));
    }
  }
  std::int32_t Core() { return r_.OneIn(2) ? code::MciM : code::sync; }
  std::string CoreName(std::int32_t core) { return core == code::MciM ? "core message" : "synchronous core message"; }

  Draw Pick() {
    const std::size_t roll = r_.Below(100);
    if (roll < 16) {
      const std::int32_t core = Core();
      return {core, {{code::MciI, code::kSceneChanged}}, CoreName(core) + " 604"};
    }
    if (roll < 23) {
      static constexpr std::int32_t kIds[] = {0, 1, 603, 605, -604, 604 + 65536};
      const std::int32_t core = Core();
      const std::int32_t id = r_.OneIn(2) ? kIds[r_.Below(std::size(kIds))] : AnyInt();
      if (id == code::kSceneChanged) return {core, {{code::MciI, id}}, CoreName(core) + " 604"};
      return {core, {{code::MciI, id}}, CoreName(core) + " " + std::to_string(id)};
    }
    if (roll < 26) {
      const std::int32_t core = Core();
      return {core, {{code::meid, code::kSceneChanged}}, CoreName(core) + " without its id"};
    }
    if (roll < 38) return Option();
    if (roll < 39) {
      const std::int32_t item = r_.OneIn(2) ? tool::kAbout : tool::kHelpFile;
      return {code::bACT, {{code::meid, item}}, "menu item " + std::to_string(item)};
    }
    if (roll < 45) {
      static constexpr std::int32_t kIds[] = {tool::kPolygonsEditable, tool::kObjectsCurrent, tool::kLabelNgons,
                                              tool::kGrid, 0, 1, 2, -1, tool::kCommandId, 5000, 5007};
      const std::int32_t id = r_.OneIn(2) ? kIds[r_.Below(std::size(kIds))] : AnyInt();
      return {code::bACT, {{code::meid, id}}, "element " + std::to_string(id) + " used"};
    }
    if (roll < 47) return {code::bACT, {{code::MciI, tool::kPause}}, "element used, without its id"};
    if (roll < 51) return {code::bINI, {}, "layout"};
    if (roll < 55) return {code::bVIN, {}, "initial values"};
    if (roll < 56) return {code::dsty, {}, "window destroyed"};
    if (roll < 64) {
      static constexpr std::int32_t kCodes[] = {code::chkc, code::askc, code::inta, code::visF, code::visT, code::kTimer};
      const std::int32_t message = kCodes[r_.Below(std::size(kCodes))];
      return {message, {}, testhost::MessageName(message)};
    }
    if (roll < 68) {  // value messages, which go to elements, not to the dialog
      static constexpr std::int32_t kCodes[] = {code::bTIC, code::vint, code::vflt};
      const std::int32_t message = kCodes[r_.Below(std::size(kCodes))];
      return {message, {{code::tris, 0}, {code::valu, AnyInt()}, {code::mini, 0}}, testhost::MessageName(message)};
    }
    if (roll < 72) {  // user-area and custom GUI messages without a user area
      static constexpr std::int32_t kCodes[] = {code::bCAS, code::bISI, code::bDRA, code::bIPN,
                                                code::kCustomGuiMessage};
      const std::int32_t message = kCodes[r_.Below(std::size(kCodes))];
      return {message, {{code::kDrawX1, 0}, {code::kDrawX2, 10}}, testhost::MessageName(message)};
    }
    const std::int32_t message = r_.OneIn(3) ? r_.Between(-2, 20000) : AnyInt();
    return {message, {{code::MciI, code::kSceneChanged}, {code::meid, tool::kPause}},
            "unknown message " + Hex(message)};
  }

  RandomScene& r_;
};

// A few dozen objects of every kind, with the top one selected.
void SmallScene(RandomScene& scene) {
  scene.Mixed(24 + scene.Below(24));
  scene.KeepAtLeast(12);
  scene.Select(scene.Objects().front());
}

// Geometry and selection change without a message, as between two host messages.
std::string SceneEdit(RandomScene& scene) { return scene.Edit(); }

// The stream has settled: the window closed and opened anew, conversions working,
// the fields must equal the host's own count with the default options, then with
// the two counting options changed from the menu.
void Settle(DialogDriver& driver) {
  if (!driver.Ok()) return;
  driver.SetConversion(DialogDriver::Conversion::kWorks);
  if (!driver.Close() || !driver.Send(code::dsty, {}, "window destroyed") || !driver.RunCommand()) return;
  const testhost::Window& window = *driver.Window();
  const testhost::MenuEntry* children = window.FindMenuItem(tool::kIncludeChildren);
  const testhost::MenuEntry* nonPolygon = window.FindMenuItem(tool::kIncludeNonPoly);
  const testhost::MenuEntry* pause = window.FindMenuItem(tool::kPause);
  if (children == nullptr || nonPolygon == nullptr || pause == nullptr)
    return static_cast<void>(driver.Fail("settle", "the Options menu lacks an item after reopening"));
  if (!children->checked || nonPolygon->checked || pause->checked)
    return static_cast<void>(driver.Fail("settle", "the options are not back at their defaults after reopening"));
  const testhost::SceneObject* active = driver.Document()->active;
  auto expect = [&](bool includeChildren, bool includeNonPolygon) {
    return active == nullptr ? testhost::ZeroTexts()
                             : testhost::CountTexts(testhost::CountObject(*active, {includeChildren, includeNonPolygon}));
  };
  if (!driver.SceneChanged() || !driver.CheckCounts("settle, default options", expect(true, false))) return;
  if (!driver.Choose(tool::kIncludeChildren) || !driver.CheckCounts("settle, children off", expect(false, false)))
    return;
  if (!driver.Choose(tool::kIncludeNonPoly) || !driver.SceneChanged() ||
      !driver.CheckCounts("settle, children off, non-polygon objects on", expect(false, true)))
    return;
  if (!driver.Choose(tool::kIncludeChildren) ||
      !driver.CheckCounts("settle, children and non-polygon objects on", expect(true, true)))
    return;
}

void Finish(DialogDriver& driver, CaseResult& result) {
  if (driver.Ok()) driver.Finish();
  result.figures["messages sent"] = static_cast<double>(driver.Messages());
  result.figures["steps"] = driver.Steps();
}

// Every kind of message, known or not, with keys missing or extra, in any order,
// with scene edits, and the window now and then closed, reopened or restored.
void RandomMessages(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  DialogDriver driver(context, result);
  RandomScene scene(driver.Scene(), driver.Document(), random);
  MessageStream stream(scene);
  SmallScene(scene);
  if (!driver.Start() || !driver.RunCommand()) return Finish(driver, result);
  const std::size_t messages = 200 * static_cast<std::size_t>(context.level);
  while (driver.Ok() && driver.Messages() < messages) {
    const std::size_t roll = scene.Below(100);
    if (roll < 8) {
      const std::string edit = SceneEdit(scene);
      if (!driver.Check(edit)) break;
    } else if (roll < 10) {
      driver.Close();
    } else if (roll < 12) {
      driver.RunCommand();
    } else if (roll < 13) {
      driver.Restore();
    } else {
      const Draw draw = stream.Next();
      driver.Send(draw.code, draw.keys, draw.what);
    }
  }
  Settle(driver);
  Finish(driver, result);
}

// The window opened, closed and opened again many times over, by the command and
// from saved layouts, with messages and option changes between: every opening
// builds the layout anew and starts from the default options.
void OpenCloseStorm(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  DialogDriver driver(context, result);
  RandomScene scene(driver.Scene(), driver.Document(), random);
  MessageStream stream(scene);
  SmallScene(scene);
  if (!driver.Start()) return Finish(driver, result);
  const std::size_t messages = 200 * static_cast<std::size_t>(context.level);
  int opened = 0;
  while (driver.Ok() && driver.Messages() < messages) {
    const bool open = driver.Model().open;
    const std::size_t roll = scene.Below(10);
    if (!open && roll < 7) {
      ++opened;
      if (!driver.RunCommand()) break;
      // A fresh opening: defaults, and the counts of the scene as it is (unless a
      // stray layout message left the layout built, and the new window empty).
      if (driver.Showing() && !driver.CheckCounts("reopened")) break;
    } else if (!open && roll < 9) {
      ++opened;
      if (!driver.Restore()) break;
      if (driver.Showing() && !driver.CheckCounts("restored")) break;
    } else if (open && roll < 4) {
      driver.Close();
    } else if (open && roll < 5) {
      driver.RunCommand();  // running it again leaves the open window as it is
    } else if (roll < 6) {
      if (!driver.Check(SceneEdit(scene))) break;
    } else {
      for (std::size_t between = scene.Below(4); between > 0 && driver.Ok(); --between) {
        const Draw draw = scene.OneIn(2) ? stream.Option() : stream.Next();
        driver.Send(draw.code, draw.keys, draw.what);
      }
    }
  }
  result.figures["openings"] = opened;
  Settle(driver);
  Finish(driver, result);
}

// The three options toggled from the menu between scene edits and scene changes,
// with conversions failing now and then: while running, the fields follow the
// host's count at once; paused, they keep what they showed.
void OptionsAndScene(const CaseContext& context, CaseResult& result) {
  std::mt19937_64 random(context.seed);
  DialogDriver driver(context, result);
  RandomScene scene(driver.Scene(), driver.Document(), random);
  MessageStream stream(scene);
  SmallScene(scene);
  if (!driver.Start() || !driver.RunCommand()) return Finish(driver, result);
  const std::size_t messages = 200 * static_cast<std::size_t>(context.level);
  while (driver.Ok() && driver.Messages() < messages) {
    const std::size_t roll = scene.Below(100);
    if (roll < 45) {
      // An option recounts at once, unless there is nothing selected to count.
      const Draw draw = stream.Option();
      if (!driver.Send(draw.code, draw.keys, draw.what)) break;
      if (!driver.Model().paused && scene.Active() != nullptr && !driver.CheckCounts(draw.what)) break;
    } else if (roll < 70) {
      // The fields keep what they showed until the host reports the change.
      if (!driver.Check(SceneEdit(scene))) break;
    } else if (roll < 95) {
      if (!driver.SceneChanged()) break;
      if (!driver.Model().paused && !driver.CheckCounts("scene changed")) break;
    } else {
      const auto conversion = static_cast<DialogDriver::Conversion>(
          scene.OneIn(2) ? 0 : scene.Below(DialogDriver::kConversionModes));
      driver.SetConversion(conversion);
      if (!driver.Check(DialogDriver::Describe(conversion))) break;
    }
  }
  Settle(driver);
  Finish(driver, result);
}

}  // namespace

void AddDialogCases(std::vector<Case>& cases) {
  cases.push_back({"dialog.random-messages", 2, true, {},
                   "random message streams through the dialog (known and unknown codes, keys missing or extra, "
                   "layout out of order, value and destroy messages) between scene edits: the window follows "
                   "the dialog's model, and settles on the host's counts",
                   RandomMessages});
  cases.push_back({"dialog.open-close-storm", 2, true, {},
                   "the window opened, closed and restored again and again with messages between: each opening "
                   "starts from the default options and the scene's counts",
                   OpenCloseStorm});
  cases.push_back({"dialog.options-and-scene", 2, true, {},
                   "the three options toggled between scene edits, scene changes and failing conversions: the "
                   "fields follow the host's count at once, or keep theirs while paused",
                   OptionsAndScene});
}

}  // namespace validate
