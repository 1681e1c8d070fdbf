#pragma once
// A terminal session: the dialog is shown, the user types events (as in a script),
// the dialog follows; "quit" or the end of input ends it.
#include <istream>
#include <ostream>

#include "session.h"

namespace cli {

void RunInteractive(Session& session, std::istream& in, std::ostream& out);

}  // namespace cli
