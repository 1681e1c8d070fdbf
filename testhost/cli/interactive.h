#pragma once
// A terminal session: the dialog is shown, the user types events (as in a script),
// the dialog follows; "help" lists the events, "quit" or the end of input ends it.
// On a terminal the line editor reads the lines (line_reader.h).
#include "session.h"

namespace cli {

void RunInteractive(Session& session);

}  // namespace cli
