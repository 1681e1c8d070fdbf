#include "testhost/full_session.h"

namespace testhost {

namespace {

constexpr int kFields[] = {tool::kPolygonsEditable, tool::kPolygonsCurrent, tool::kPointsEditable,
                           tool::kPointsCurrent,    tool::kObjectsEditable, tool::kObjectsCurrent,
                           tool::kNgonsEditable,    tool::kNgonsCurrent};

std::map<int, std::string> Fields(const Window& window) {
  std::map<int, std::string> fields;
  for (int id : kFields) {
    auto found = window.elements.find(id);
    fields[id] = found != window.elements.end() ? found->second.text : "(none)";
  }
  return fields;
}

void SceneChanged(Windows& windows, Window& window) {
  windows.Send(window, code::MciM, {{code::MciI, code::kSceneChanged}});
}

void Choose(Windows& windows, Window& window, int item) { windows.Send(window, code::bACT, {{code::meid, item}}); }

}  // namespace

SessionScene BuildSessionScene(Scene& scene) {
  SessionScene built;
  built.document = scene.NewDocument();
  scene.SetActiveDocument(built.document);
  built.group = scene.Add(built.document, ObjectKind::Null);
  built.mesh = scene.AddPolygonObject(built.document, 8, 6, 1, built.group);
  scene.AddGenerator(built.document, ObjectKind::Cube, 2, built.group);
  scene.Add(built.document, ObjectKind::Camera, built.group);
  scene.AddPolygonObject(built.document, 100, 100, 10);  // a later sibling of the group
  scene.SetActive(built.document, built.group);
  return built;
}

std::map<int, std::string> ExpectedFirstDisplay() {
  // Current: the mesh alone holds geometry (6 polygons, 8 points, 1 n-gon); four
  // objects. Editable: the cube becomes 24 quads on 26 points; the merged form
  // joins them with the mesh; the mesh and the cube count as objects.
  return {{tool::kPolygonsEditable, "30"}, {tool::kPolygonsCurrent, "6"}, {tool::kPointsEditable, "34"},
          {tool::kPointsCurrent, "8"},     {tool::kObjectsEditable, "2"}, {tool::kObjectsCurrent, "4"},
          {tool::kNgonsEditable, "1"},     {tool::kNgonsCurrent, "1"}};
}

SessionRecord RunSession(Host& host, const SessionScene& scene) {
  SessionRecord record;
  record.init = host.Init();
  record.message = host.Message(pluginmessage::kLoadResources);
  record.start = host.Start();
  Commands& commands = host.CommandModel();
  Windows& windows = host.WindowModel();
  RegisteredCommand* command = commands.ById(tool::kCommandId);
  record.registered = command != nullptr;
  if (command != nullptr) {
    commands.QueryState(*command);
    commands.Run(*command);
    Window* window = windows.ByPluginId(tool::kCommandId);
    record.opened = window != nullptr && window->open;
    if (record.opened) {
      record.firstDisplay = Fields(*window);
      scene.mesh->polygons += 2;
      SceneChanged(windows, *window);
      windows.Send(*window, code::sync, {{code::MciI, code::kSceneChanged}});
      windows.Send(*window, code::MciM, {{code::MciI, 605}});  // another core message
      for (int item : {tool::kIncludeChildren, tool::kIncludeNonPoly, tool::kIncludeNonPoly, tool::kIncludeChildren})
        Choose(windows, *window, item);
      Choose(windows, *window, tool::kPause);
      SceneChanged(windows, *window);
      Choose(windows, *window, tool::kPause);
      Choose(windows, *window, tool::kAbout);
      const std::vector<std::string>& opened = host.ApplicationModel().openedFiles;
      const std::size_t openedBefore = opened.size();
      Choose(windows, *window, tool::kHelpFile);
      record.helpFiles.assign(opened.begin() + static_cast<std::ptrdiff_t>(openedBefore), opened.end());
      windows.Send(*window, code::visF);
      windows.Send(*window, code::visT);
      windows.Send(*window, code::chkc);
      windows.Close(*window);
    }
    // The user runs the command again: the dialog opens anew.
    commands.Run(*command);
    if (Window* again = windows.ByPluginId(tool::kCommandId); again != nullptr && again->open) windows.Close(*again);
    commands.QueryText(*command);
  }
  host.Unload();
  return record;
}
}  // namespace testhost
