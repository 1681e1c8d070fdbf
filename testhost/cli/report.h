#pragma once
// What the program prints of each state of a session: the dialog with what came
// along (console lines, message boxes, files opened), as text or as one JSON
// document per state.
#include <ostream>
#include <string>
#include <vector>

#include "dialog_view.h"
#include "failure.h"

namespace cli {

class Session;

struct State {
  std::string event;  // what led to this state ("open" for the first)
  int line = 0;       // the script line, 0 outside a script
  DialogView view;
  std::string object;  // the active object's path
  bool includeChildren = false, includeNonPoly = false, pause = false;
  std::vector<std::string> console, messageBoxes, openedFiles;
};

// Takes the state of the session now, with what happened since the last state.
State Capture(Session& session, const std::string& event, int line);

void PrintState(std::ostream& out, const State& state);

// Whether this build writes JSON (not every platform has the library).
bool JsonAvailable();
// One JSON document on one line: plug-in, scene, object path, options, the eight
// fields as shown (with their greyed flags and, where the text is a number, the
// number), the console lines and what the dialog showed besides.
void PrintJson(std::ostream& out, const State& state, const std::string& plugin, const std::string& scene);
// The error object of a failed run, on one line: error, status, and file and
// faults where there are.
void PrintErrorJson(std::ostream& out, const Failure& failure);

}  // namespace cli
