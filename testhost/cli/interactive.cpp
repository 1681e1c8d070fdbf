#include "interactive.h"

#include <iostream>
#include <string>

#include "event_words.h"
#include "events.h"
#include "line_reader.h"
#include "printable.h"
#include "report.h"

namespace cli {

namespace {

const char kEvents[] =
    "events: select PATH | children on|off | nonpoly on|off | pause on|off | about | manual\n"
    "        add KIND NAME [N...] [under PATH] | delete PATH | move PATH under PATH | move PATH to top\n"
    "        edit PATH points|polygons|ngons|segments N | scene-change | close | reopen | show\n"
    "        help (this list) | quit; a name with spaces in quotes: select \"My Model.obj/Left Arm\"\n";
const char kEditing[] = "        Tab completes events and object paths; the up arrow recalls earlier lines\n";

// The session's own command a line holds, if it holds one word.
std::string SessionCommand(const std::string& line) {
  const EventLine split = SplitEventLine(line);
  return split.words.size() == 1 && !split.openQuote ? split.words.front().text : "";
}

void Run(Session& session, LineReader& reader, bool editing) {
  std::ostream& out = std::cout;
  const std::string list = std::string(kEvents) + (editing ? kEditing : "");
  out << list;
  PrintState(out, Capture(session, "open", 0));
  for (std::string line; reader.Read("statlume> ", line);) {
    const std::string command = SessionCommand(line);
    if (command == "quit" || command == "exit") break;
    if (command == "help" || command == "?") {
      out << list;
      continue;
    }
    try {
      Event event;
      if (!ParseEvent(line, event)) continue;
      ApplyEvent(session, event);
      PrintState(out, Capture(session, event.text, 0));
    } catch (const UsageError& error) {
      out << "  " << Printable(error.message) << "\n";
    }
  }
  out << "\n";
}

}  // namespace

void RunInteractive(Session& session) {
  std::unique_ptr<LineReader> reader =
      TerminalLineReader([&session](const std::string& beforeCursor) { return Complete(beforeCursor, session.Document()); });
  const bool editing = reader != nullptr;
  if (!editing) reader = PlainLineReader(std::cin, std::cout);
  Run(session, *reader, editing);
}

}  // namespace cli
