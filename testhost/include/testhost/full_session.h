#pragma once
// One full session of the plug-in as the host runs it, for the sweeps: load,
// message 1, start, run the command, recount after scene changes, toggle every
// option, About, Help, close, end, unload. Every step copes with whatever the
// plug-in answered before, so that a session with a fault injected runs to its end.
#include <map>
#include <string>
#include <vector>

#include "testhost/host.h"

namespace testhost {

struct SessionScene {
  Document* document = nullptr;
  SceneObject* group = nullptr;  // the active object
  SceneObject* mesh = nullptr;
};

// A group holding a polygon object, a cube generator and a camera, with a later
// sibling that must never be counted; the group is active.
SessionScene BuildSessionScene(Scene& scene);

// The dialog's fields after the first display of a clean session on that scene,
// by element id.
std::map<int, std::string> ExpectedFirstDisplay();

struct SessionRecord {
  int init = 0, message = 0, start = 0;
  bool registered = false, opened = false;
  std::map<int, std::string> firstDisplay;  // the eight fields right after opening
  std::vector<std::string> helpFiles;       // what picking Help opened with the system
};

// Runs the session on a loaded plug-in and unloads it.
SessionRecord RunSession(Host& host, const SessionScene& scene);

}  // namespace testhost
