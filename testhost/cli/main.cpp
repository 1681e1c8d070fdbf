// Command-line host: loads the plug-in, drives its whole life on a scene, and shows
// what a person working with the host would see.
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>
#include <algorithm>

#include "testhost/host.h"
#include "testhost/scene_file.h"

namespace {

using testhost::code::bACT;
using testhost::code::MciI;
using testhost::code::MciM;
using testhost::code::meid;
constexpr int kCommandId = testhost::tool::kCommandId;

void Heading(const std::string& text) { std::cout << "\n== " << text << "\n"; }

void NewConsoleLines(testhost::Host& host, std::size_t& shown) {
  const auto& lines = host.Framework().LogLines();
  for (; shown < lines.size(); ++shown) std::cout << "  console: " << lines[shown].text << "\n";
}

std::string Indented(const std::string& text) {
  std::string out = "    ";
  for (char c : text) out += c == '\n' ? std::string("\n    ") : std::string(1, c);
  return out;
}

// The dialog as it stands: title, menus with their marks, and the grid.
void ShowDialog(testhost::Window& window) {
  std::ostringstream body;
  for (const testhost::MenuEntry& menu : window.menu) {
    body << std::left << std::setw(9) << (menu.text + ":");
    bool first = true;
    for (const testhost::MenuEntry& item : menu.items) {
      if (!first) body << "\n" << std::string(9, ' ');
      first = false;
      if (menu.text == "Options") body << (item.checked ? "[x] " : "[ ] ");
      body << item.text;
    }
    body << "\n";
  }
  body << "\n";
  const auto labels = window.Labels();
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const testhost::ElementState& state = window.elements[labels[i]->id];
    std::string text = state.textsSet > 0 ? state.text : labels[i]->text;
    if (!state.enabled && labels[i]->id != 5006) text = "(" + text + ")";
    body << (i % 3 == 0 ? std::left : std::right) << std::setw(i % 3 == 0 ? 10 : 12) << text;
    if (i % 3 == 2) body << "\n";
  }
  std::vector<std::string> lines;
  std::istringstream text(body.str());
  std::size_t width = 0;
  for (std::string line; std::getline(text, line);) {
    width = std::max(width, line.size() + 1);
    lines.push_back(line);
  }
  const std::string title = " " + window.title + " ";
  std::cout << "  +--" << title << std::string(width + 1 - 2 - title.size(), '-') << "+\n";
  for (const std::string& line : lines) std::cout << "  | " << std::left << std::setw(static_cast<int>(width)) << line << "|\n";
  std::cout << "  +" << std::string(width + 1, '-') << "+\n";
}

void Choose(testhost::Host& host, testhost::Window& window, int item) {
  host.WindowModel().Send(window, bACT, {{meid, item}});
}

void SceneChanged(testhost::Host& host, testhost::Window& window) {
  host.WindowModel().Send(window, MciM, {{MciI, testhost::code::kSceneChanged}});
}

}  // namespace

int main(int argc, char** argv) {
  std::string pluginFile = testhost::Host::DefaultPluginFile();
  std::string sceneFile = STATLUME_DEFAULT_SCENE;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin") == 0) pluginFile = argv[++i];
    else if (std::strcmp(argv[i], "--scene") == 0) sceneFile = argv[++i];
  }

  testhost::Host host(pluginFile);
  testhost::Scene& scene = host.SceneModel();
  testhost::Document* document = testhost::LoadSceneFile(scene, sceneFile);
  std::size_t shownLines = 0;

  std::cout << "Statlume in the test host\n";
  std::cout << "  plug-in: " << host.PluginFile() << "\n";
  std::cout << "  scene:   " << sceneFile << " (active object: " << document->active->name << ")\n";

  Heading("The host loads the plug-in");
  std::cout << "  action 1 (tables, plug-in path) -> " << host.Init() << "\n";
  std::cout << "  message 1 (resource folder)     -> " << host.Message(1) << "\n";
  std::cout << "  action 2 (start)                -> " << host.Start() << "\n";
  NewConsoleLines(host, shownLines);
  testhost::RegisteredCommand* command = host.CommandModel().ById(kCommandId);
  if (command == nullptr) {
    std::cout << "  the plug-in registered no command\n";
  } else {
    std::cout << "  command " << command->id << ": \"" << command->name << "\" - " << command->help << "\n";
    if (command->icon)
      std::cout << "  icon: " << command->icon->width << " x " << command->icon->height << " pixels, scale "
                << command->icon->ScaleFactor() << "\n";

    Heading("The user runs \"" + command->name + "\"");
    host.CommandModel().Run(*command);
    testhost::Window& window = *host.WindowModel().ByPluginId(kCommandId);
    ShowDialog(window);

    Heading("The user makes the head smoother (sphere segments 16 -> 32); the scene changes");
    testhost::FindObject(document, "Head")->segments = 32;
    SceneChanged(host, window);
    ShowDialog(window);

    Heading("Options > Include Non-Poly/Point Objects");
    Choose(host, window, 5003);
    ShowDialog(window);

    Heading("Options > Include Child Objects (off), then Options > Pause");
    Choose(host, window, 5001);
    Choose(host, window, 5002);
    ShowDialog(window);

    Heading("Help > About...");
    Choose(host, window, 5004);
    for (const auto& [text, style] : host.ApplicationModel().messageBoxes)
      std::cout << "  message box (style " << style << "):\n" << Indented(text) << "\n";

    Heading("Help > Show Help File (.PDF)...");
    Choose(host, window, 5005);
    for (const std::string& file : host.ApplicationModel().openedFiles)
      std::cout << "  opened with the system: " << file << (std::filesystem::exists(file) ? "" : " (missing)")
                << "\n";
  }

  Heading("The host unloads the plug-in");
  host.CommandModel().DestroyAll();
  std::cout << "  command destroyed; window objects left: " << host.WindowModel().LiveWindows() << "\n";
  std::cout << "  action 3 (end)                  -> " << host.End() << "\n";
  std::cout << "  resource folders left open: " << host.ResourceModel().OpenFolders() << "\n";
  host.Unload();
  std::cout << "  framework memory blocks left: " << host.Framework().LiveAllocations()
            << ", command results left: " << scene.OutstandingCopies() << "\n";
  NewConsoleLines(host, shownLines);
  if (!host.Stdout().empty()) std::cout << "\nplug-in standard output:\n" << host.Stdout();

  if (!host.Failures().empty()) {
    std::cout << "\nhost faults:\n";
    for (const std::string& failure : host.Failures()) std::cout << "  " << failure << "\n";
    return 1;
  }
  std::cout << "\nno host faults\n";
  return 0;
}
