#pragma once
// The plug-in loaded and started in a test host, its command run to open the
// statistics dialog, and the window driven as the host drives it: every step is
// followed in the dialog model and checked at once, so that a failure names the
// step and what went wrong first.
#include <cstdint>
#include <map>
#include <string>

#include "cases.h"
#include "dialog_model.h"
#include "testhost/host.h"

namespace validate {

class DialogDriver {
 public:
  DialogDriver(const CaseContext& context, CaseResult& result)
      : host_(context.plugin), model_(host_.SceneModel()), result_(result) {
    document_ = host_.SceneModel().NewDocument();
    host_.SceneModel().SetActiveDocument(document_);
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  testhost::Host& Host() { return host_; }
  testhost::Scene& Scene() { return host_.SceneModel(); }
  testhost::Document* Document() { return document_; }
  DialogModel& Model() { return model_; }
  testhost::Window* Window() { return window_; }
  bool Ok() const { return result_.passed; }
  // The window is open and holds the count fields.
  bool Showing() const { return model_.open && model_.elements.count(testhost::tool::kPolygonsEditable) != 0; }
  int Steps() const { return step_; }
  std::size_t Messages() const { return messages_; }

  // Load action, resources, start; the command must be registered.
  bool Start() {
    host_.Init();
    host_.Message(testhost::pluginmessage::kLoadResources);
    host_.Start();
    command_ = host_.CommandModel().ById(testhost::tool::kCommandId);
    if (command_ == nullptr) return Fail("start", "the command is not registered");
    return Faults("start");
  }

  // The user runs the command: the window opens unless it is open.
  bool RunCommand() {
    if (command_ == nullptr) return Fail("run the command", "the command is not registered");
    const bool wasOpen = model_.open;
    host_.CommandModel().Run(*command_);
    if (!wasOpen) {
      model_.Opened();
      messages_ += 2;
    }
    if (window_ == nullptr) window_ = host_.WindowModel().ByPluginId(testhost::tool::kCommandId);
    if (window_ == nullptr) return Fail("run the command", "no window of the plug-in's id opened");
    return Check("run the command");
  }
  // The host restores the window from a saved layout: it opens it anew.
  bool Restore() {
    if (command_ == nullptr) return Fail("restore from a layout", "the command is not registered");
    host_.CommandModel().Restore(*command_, host_.WindowModel().IssueLayoutToken());
    model_.Opened();
    messages_ += 2;
    if (window_ == nullptr) window_ = host_.WindowModel().ByPluginId(testhost::tool::kCommandId);
    if (window_ == nullptr) return Fail("restore from a layout", "no window of the plug-in's id opened");
    return Check("restore from a layout");
  }
  // The user closes the window.
  bool Close() {
    if (window_ == nullptr) return true;
    if (model_.open) ++messages_;
    host_.WindowModel().Close(*window_);
    model_.Closed();
    return Check("close");
  }
  // A message to the window through the plug-in's dispatch routine.
  bool Send(std::int32_t code, const std::map<std::int32_t, std::int64_t>& keys, const std::string& what) {
    if (window_ == nullptr) return true;
    ++messages_;
    const std::int32_t answer = host_.WindowModel().Send(*window_, code, keys);
    const std::int32_t expected = model_.Message(code, keys);
    if (answer != expected)
      return Fail(what, "answered " + std::to_string(answer) + ", not " + std::to_string(expected));
    return Check(what);
  }
  bool SceneChanged() {
    return Send(testhost::code::MciM, {{testhost::code::MciI, testhost::code::kSceneChanged}}, "scene changed");
  }
  bool Choose(std::int32_t item) {
    return Send(testhost::code::bACT, {{testhost::code::meid, item}}, "menu item " + std::to_string(item));
  }

  // How the host's conversions fail from now on. Refused commands, an entry that
  // answers false without acting and a result that cannot be taken out must all
  // clear the display.
  enum class Conversion {
    kWorks,
    kEditableRefused,
    kJoinRefused,
    kBothRefused,
    kEntryFails,
    kNoResultOut,
    kJoinGivesNothing
  };
  static constexpr int kConversionModes = 7;
  static const char* Describe(Conversion conversion) {
    switch (conversion) {
      case Conversion::kWorks: return "conversions work";
      case Conversion::kEditableRefused: return "command 245 refused";
      case Conversion::kJoinRefused: return "command 246 refused";
      case Conversion::kBothRefused: return "commands 245 and 246 refused";
      case Conversion::kEntryFails: return "the command entry answers false";
      case Conversion::kNoResultOut: return "no result can be taken out";
      case Conversion::kJoinGivesNothing: return "command 246 succeeds with an empty result list";
    }
    return "";
  }
  void SetConversion(Conversion conversion) {
    testhost::Scene& scene = Scene();
    scene.HealCommand(testhost::kCommandMakeEditable);
    scene.HealCommand(testhost::kCommandJoin);
    host_.HealEntry(testhost::entry::RunModelingCommand);
    host_.HealEntry(testhost::entry::ResultListAt);
    host_.ClearOverride(testhost::entry::ResultListAt);
    model_.failEditable = model_.failJoin = false;
    switch (conversion) {
      case Conversion::kWorks:
        break;
      case Conversion::kEditableRefused:
        scene.FailCommand(testhost::kCommandMakeEditable);
        model_.failEditable = true;
        break;
      case Conversion::kJoinRefused:
        scene.FailCommand(testhost::kCommandJoin);
        model_.failJoin = true;
        break;
      case Conversion::kBothRefused:
        scene.FailCommand(testhost::kCommandMakeEditable);
        scene.FailCommand(testhost::kCommandJoin);
        model_.failEditable = model_.failJoin = true;
        break;
      case Conversion::kEntryFails:
        host_.FailEntry(testhost::entry::RunModelingCommand);
        model_.failEditable = model_.failJoin = true;
        break;
      case Conversion::kNoResultOut:
        host_.FailEntry(testhost::entry::ResultListAt);
        model_.failEditable = model_.failJoin = true;
        break;
      case Conversion::kJoinGivesNothing:
        host_.OverrideEntry(testhost::entry::ResultListAt, &NothingFromJoin);
        model_.failJoin = true;
        break;
    }
  }

  // A result list entry that finds nothing in the lists of command 246, as from a
  // join that ran but made no object; other lists answer as the host does.
  static testhost::SceneObject* NothingFromJoin(const void* list, std::int32_t index) {
    testhost::Scene& scene = testhost::Host::Current().SceneModel();
    testhost::ResultListValue* results = scene.List(list);
    if (results == nullptr || results->command == testhost::kCommandJoin) return nullptr;
    return scene.ResultAt(results, index);
  }

  // Faults the host saw, and the window against the model.
  bool Check(const std::string& what) {
    ++step_;
    if (!Faults(what)) return false;
    host_.ClearCalls();  // only faults are read; long runs must not pile up calls
    if (window_ == nullptr) return true;
    const std::string why = model_.Compare(*window_, host_.ApplicationModel());
    return why.empty() || Fail(what, why);
  }
  // The eight fields against the host's own count for the active object.
  bool CheckCounts(const std::string& what) { return CheckCounts(what, model_.Expected()); }
  bool CheckCounts(const std::string& what, const std::map<std::int32_t, std::string>& expected) {
    if (window_ == nullptr) return Fail(what, "no window");
    std::map<std::int32_t, std::string> shown;
    for (std::int32_t id : testhost::kCountFields) {
      auto found = window_->elements.find(id);
      if (found != window_->elements.end()) shown[id] = found->second.text;
    }
    const std::string difference = testhost::DescribeDifference(expected, shown);
    return difference.empty() || Fail(what, difference);
  }

  // Close, unload: nothing may be left and the host may have seen no fault.
  bool Finish() {
    if (window_ != nullptr && model_.open) Close();
    host_.Unload();
    return Faults("unload");
  }

  bool Fail(const std::string& what, const std::string& why) {
    result_.Fail("step " + std::to_string(step_) + " (" + what + "): " + why);
    return false;
  }

 private:
  bool Faults(const std::string& what) {
    const std::vector<std::string>& failures = host_.Failures();
    if (failures.size() == faultsSeen_) return true;
    const std::string first = failures[faultsSeen_];
    faultsSeen_ = failures.size();
    return Fail(what, "the host saw: " + first);
  }

  testhost::Host host_;
  DialogModel model_;
  CaseResult& result_;
  testhost::Document* document_ = nullptr;
  testhost::RegisteredCommand* command_ = nullptr;
  testhost::Window* window_ = nullptr;
  std::size_t faultsSeen_ = 0;
  std::size_t messages_ = 0;
  int step_ = 0;
};

}  // namespace validate
