#pragma once
// The events of a session, as written in a script file or typed in the terminal,
// one per line:
//   select PATH                   make PATH the active object
//   children on|off               Options > Include Child Objects
//   nonpoly on|off                Options > Include Non-Poly/Point Objects
//   pause on|off                  Options > Pause
//   about                         Help > About...
//   help | manual                 Help > Show Help File (.PDF)... (in the terminal
//                                 session "help" lists the events instead)
//   add KIND NAME [N...] [under PATH]
//                                 a new object: polygon POINTS POLYGONS NGONS,
//                                 point POINTS, cube/sphere/plane SEGMENTS, null,
//                                 camera, instance
//   delete PATH                   delete an object with its children
//   move PATH under PATH | move PATH to top
//   edit PATH FIELD VALUE         points, polygons, ngons or segments
//   scene-change                  the host reports a change of the scene
//   close | reopen                close the dialog, run "Statlume" again
//   show                          print the dialog as it stands
// Blank lines and lines starting with # are skipped. A path or name with spaces is
// written in double quotes or with a backslash before each space (event_words.h).
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "session.h"

namespace cli {

struct Event {
  std::string verb;
  std::vector<std::string> words;  // the words after the verb
  std::string text;                // the line as written
};

// The verbs of the events, in alphabetical order.
std::vector<std::string> EventVerbs();

// Reads one line; false for a blank or comment line; throws UsageError (without
// file and line, which the caller adds) for a line it cannot read.
bool ParseEvent(const std::string& line, Event& event);

struct ScriptLine {
  int number;  // from 1
  Event event;
};

// Reads a whole script, so that a bad line stops the program before the plug-in is
// loaded: every line must be text (no control characters but tabs; a line may end
// in CR LF) and an event or a blank or comment line. Throws UsageError
// "FILE:LINE: reason" for the first line that is not.
std::vector<ScriptLine> ReadScript(std::istream& in, const std::string& file);

// Carries an event out on the session; throws UsageError when it cannot be (an
// unknown object path, a closed dialog, ...).
void ApplyEvent(Session& session, const Event& event);

}  // namespace cli
