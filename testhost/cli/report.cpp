#include "report.h"

#include "session.h"

#include "dialog_text.h"
#include "printable.h"

namespace cli {

namespace {

std::string Indented(const std::string& text) {
  std::string out = "    ";
  for (char c : text) out += c == '\n' ? std::string("\n    ") : std::string(1, c);
  return out;
}

}  // namespace

State Capture(Session& session, const std::string& event, int line) {
  State state;
  state.event = event;
  state.line = line;
  state.view = session.View();
  state.object = session.ActivePath();
  state.includeChildren = session.OptionOn(Option::kIncludeChildren);
  state.includeNonPoly = session.OptionOn(Option::kIncludeNonPoly);
  state.pause = session.OptionOn(Option::kPause);
  state.console = session.TakeConsoleLines();
  state.messageBoxes = session.TakeMessageBoxes();
  state.openedFiles = session.TakeOpenedFiles();
  return state;
}

void PrintState(std::ostream& out, const State& state) {
  if (state.line > 0) out << "\n== " << state.line << ": " << Printable(state.event) << "\n";
  out << "  active object: " << (state.object.empty() ? "(none)" : Printable(state.object)) << "\n";
  PrintDialog(out, state.view);
  for (const std::string& box : state.messageBoxes)
    out << "  message box:\n" << Indented(PrintableLines(box)) << "\n";
  for (const std::string& file : state.openedFiles) out << "  opened with the system: " << Printable(file) << "\n";
  for (const std::string& line : state.console) out << "  console: " << Printable(line) << "\n";
}

}  // namespace cli
