#include "interactive.h"

#include <string>

#include "events.h"
#include "printable.h"
#include "report.h"

namespace cli {

namespace {

const char kEvents[] =
    "events: select PATH | children on|off | nonpoly on|off | pause on|off | about | help\n"
    "        add KIND NAME [N...] [under PATH] | delete PATH | move PATH under PATH | move PATH to top\n"
    "        edit PATH points|polygons|ngons|segments N | scene-change | close | reopen | show | quit\n";

}  // namespace

void RunInteractive(Session& session, std::istream& in, std::ostream& out) {
  out << kEvents;
  PrintState(out, Capture(session, "open", 0));
  for (std::string line;;) {
    out << "statlume> " << std::flush;
    if (!std::getline(in, line)) break;
    if (line == "quit" || line == "exit") break;
    if (line == "?") {
      out << kEvents;
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

}  // namespace cli
