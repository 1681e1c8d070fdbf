// Builds without a line editor (the Windows program) read plain lines.
#include "line_reader.h"

namespace cli {

std::unique_ptr<LineReader> TerminalLineReader(Completer) { return nullptr; }

}  // namespace cli
