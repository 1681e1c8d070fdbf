#pragma once
// What the statistics dialog must show and answer, followed message by message on
// the host's side: the bridge's layout flag, the three options, the check marks of
// the menu, and the text and enabled state of every element the host's window
// holds. Counts come from the host's own count of its scene (scene_count.h), so
// that the window can be compared with the model after every message, whatever
// order the messages came in.
#include <cstdint>
#include <map>
#include <string>

#include "testhost/application.h"
#include "testhost/scene.h"
#include "testhost/scene_count.h"
#include "testhost/windows.h"

namespace validate {

class DialogModel {
 public:
  struct Element {
    std::string text;
    bool enabled = true;
  };

  explicit DialogModel(testhost::Scene& scene) : scene_(scene) {}

  // The host opened the window: a fresh window has no elements; it then asks for
  // the layout and the initial values.
  void Opened() {
    open = true;
    elements.clear();
    Message(testhost::code::bINI, {});
    Message(testhost::code::bVIN, {});
  }
  // The host closed the window: it tells the dialog that the window is gone.
  void Closed() {
    if (!open) return;
    open = false;
    Message(testhost::code::dsty, {});
  }

  // A message reached the dialog: what it changes, and the answer the dialog gives.
  std::int32_t Message(std::int32_t message, const std::map<std::int32_t, std::int64_t>& keys) {
    namespace code = testhost::code;
    auto key = [&](std::int32_t name) {
      auto found = keys.find(name);
      return found != keys.end() ? static_cast<std::int32_t>(found->second) : 0;
    };
    switch (message) {
      case code::bINI:
        if (!layoutBuilt) {
          layoutBuilt = true;
          BuildLayout();
        }
        return 1;
      case code::bVIN:
        if (layoutBuilt) FillValues();
        return 1;
      case code::MciM:
      case code::sync:
        if (key(code::MciI) == code::kSceneChanged) {
          if (Active() != nullptr) Update();
          else Clear();
        }
        return 1;
      case code::bACT:
        Action(key(code::meid));
        return 1;
      case code::kTimer:
        return 1;
      case code::dsty:
        layoutBuilt = false;
        return 0;
      case code::inta:
        ++interactions;
        return 0;
      default:  // chkc (the dialog never refuses to close), visF, visT and the unknown
        return 0;
    }
  }

  // The conversions the host fails at present (refused, answering no result, or no
  // result to take out: the dialog must clear its counts for each alike).
  bool failEditable = false, failJoin = false;

  bool open = false, layoutBuilt = false;
  bool includeChildren = false, includeNonPolygon = false, paused = false;  // cleared with the command object
  bool menuBuilt = false;
  std::map<std::int32_t, bool> checked;
  std::map<std::int32_t, Element> elements;
  std::size_t messageBoxes = 0, helpFiles = 0, interactions = 0;

  // The elements the dialog lays out and writes or greys.
  static constexpr std::int32_t kLabelIds[5] = {testhost::tool::kLabelPolygons, testhost::tool::kLabelPoints,
                                                testhost::tool::kLabelObjects, testhost::tool::kLabelNgons,
                                                testhost::tool::kGrid};
  static constexpr std::int32_t kMenuItems[3] = {testhost::tool::kIncludeChildren, testhost::tool::kPause,
                                                 testhost::tool::kIncludeNonPoly};

  // Empty when the window and the host's application record show what the model
  // says; otherwise the first difference.
  std::string Compare(const testhost::Window& window, const testhost::Application& application) const {
    if (window.open != open) return std::string("the window is ") + (window.open ? "open" : "closed");
    for (std::int32_t id : testhost::kCountFields)
      if (std::string why = CompareElement(window, id); !why.empty()) return why;
    for (std::int32_t id : kLabelIds)
      if (std::string why = CompareElement(window, id); !why.empty()) return why;
    for (std::int32_t id : kMenuItems) {
      const testhost::MenuEntry* item = window.FindMenuItem(id);
      if ((item != nullptr) != menuBuilt)
        return "menu item " + std::to_string(id) + (menuBuilt ? " is missing" : " is there before any layout");
      if (item == nullptr) continue;
      if (!item->enabled) return "menu item " + std::to_string(id) + " is disabled";
      auto mark = checked.find(id);
      const bool want = mark != checked.end() && mark->second;
      if (item->checked != want)
        return "menu item " + std::to_string(id) + (want ? " is not checked" : " is checked");
    }
    if (application.messageBoxes.size() != messageBoxes)
      return std::to_string(application.messageBoxes.size()) + " about boxes shown, not " + std::to_string(messageBoxes);
    if (application.openedFiles.size() != helpFiles)
      return std::to_string(application.openedFiles.size()) + " help files opened, not " + std::to_string(helpFiles);
    if (static_cast<std::size_t>(application.interactions) != interactions)
      return std::to_string(application.interactions) + " interactions started, not " + std::to_string(interactions);
    return "";
  }

  // The counts the dialog must show for the active object with the options it has.
  std::map<std::int32_t, std::string> Expected() const {
    const testhost::SceneObject* active = Active();
    if (active == nullptr || failEditable || (includeChildren && failJoin)) return testhost::ZeroTexts();
    return testhost::CountTexts(testhost::CountObject(*active, {includeChildren, includeNonPolygon}));
  }

 private:
  std::string CompareElement(const testhost::Window& window, std::int32_t id) const {
    auto want = elements.find(id);
    auto got = window.elements.find(id);
    const std::string name = ElementName(id);
    if ((want != elements.end()) != (got != window.elements.end()))
      return name + (got == window.elements.end() ? " is missing" : " is there before any layout");
    if (got == window.elements.end()) return "";
    if (got->second.text != want->second.text)
      return name + " shows \"" + got->second.text + "\", not \"" + want->second.text + "\"";
    if (got->second.enabled != want->second.enabled)
      return name + (want->second.enabled ? " is greyed" : " is not greyed");
    return "";
  }

  static std::string ElementName(std::int32_t id) {
    namespace tool = testhost::tool;
    const char* name = "";
    switch (id) {
      case tool::kPolygonsEditable: name = "polygons editable"; break;
      case tool::kPolygonsCurrent: name = "polygons current"; break;
      case tool::kPointsEditable: name = "points editable"; break;
      case tool::kPointsCurrent: name = "points current"; break;
      case tool::kObjectsEditable: name = "objects editable"; break;
      case tool::kObjectsCurrent: name = "objects current"; break;
      case tool::kNgonsEditable: name = "n-gons editable"; break;
      case tool::kNgonsCurrent: name = "n-gons current"; break;
      case tool::kLabelPolygons: name = "label Polygons"; break;
      case tool::kLabelPoints: name = "label Points"; break;
      case tool::kLabelObjects: name = "label Objects"; break;
      case tool::kLabelNgons: name = "label N-Gons"; break;
      case tool::kGrid: name = "headings"; break;
      default: break;
    }
    return std::string(name) + " (" + std::to_string(id) + ")";
  }

  const testhost::SceneObject* Active() const {
    const testhost::Document* document = scene_.ActiveDocument();
    return document != nullptr ? document->active : nullptr;
  }

  void BuildLayout() {
    namespace tool = testhost::tool;
    menuBuilt = true;
    checked.clear();  // a menu built anew has no marks
    // Labels keep an element's enabled state; their texts are set anew.
    elements[tool::kGrid].text = "Editable";  // the last of the three headings
    elements[tool::kLabelPolygons].text = "Polygons";
    elements[tool::kLabelPoints].text = "Points";
    elements[tool::kLabelNgons].text = "N-Gons";
    elements[tool::kLabelObjects].text = "Objects";
    for (std::int32_t id : testhost::kCountFields) elements[id].text = "";
  }

  void FillValues() {
    namespace tool = testhost::tool;
    Clear();
    Mark(tool::kIncludeChildren, includeChildren = true);
    Mark(tool::kIncludeNonPoly, includeNonPolygon = false);
    Mark(tool::kPause, paused = false);
    Update();
  }

  void Action(std::int32_t id) {
    namespace tool = testhost::tool;
    switch (id) {
      case tool::kIncludeChildren:
        Mark(id, includeChildren = !includeChildren);
        Update();
        break;
      case tool::kIncludeNonPoly:
        Mark(id, includeNonPolygon = !includeNonPolygon);
        Update();
        break;
      case tool::kPause:
        Mark(id, paused = !paused);
        // The value fields and the row labels grey together; the headings stay.
        for (std::int32_t field : testhost::kCountFields) Enable(field, !paused);
        for (std::int32_t label : {tool::kLabelPolygons, tool::kLabelPoints, tool::kLabelObjects, tool::kLabelNgons})
          Enable(label, !paused);
        if (!paused) Update();
        break;
      case tool::kAbout:
        ++messageBoxes;
        break;
      case tool::kHelpFile:
        ++helpFiles;
        break;
      default:
        break;
    }
  }

  // Counts and shows, unless there is nothing to count, the dialog is paused or
  // its window is closed.
  void Update() {
    if (Active() == nullptr || paused || !open) return;
    for (const auto& [id, text] : Expected()) Write(id, text);
  }
  void Clear() {
    for (std::int32_t id : testhost::kCountFields) Write(id, "0");
  }
  // The host keeps what is written to an element it holds, and drops the rest.
  void Write(std::int32_t id, const std::string& text) {
    if (auto found = elements.find(id); found != elements.end()) found->second.text = text;
  }
  void Enable(std::int32_t id, bool enabled) {
    if (auto found = elements.find(id); found != elements.end()) found->second.enabled = enabled;
  }
  void Mark(std::int32_t item, bool on) {
    if (menuBuilt) checked[item] = on;
  }

  testhost::Scene& scene_;
};

}  // namespace validate
