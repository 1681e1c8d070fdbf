#pragma once
// How the terminal session reads what the user types: on a terminal through the
// line editor (editing keys, history, completion), otherwise (a pipe, a file, a
// script feeding the session) plain lines exactly as they come.
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "completion.h"

namespace cli {

class LineReader {
 public:
  virtual ~LineReader() = default;
  // Shows the prompt and reads one line, without its line end; false at the end
  // of the input.
  virtual bool Read(const std::string& prompt, std::string& line) = 0;
};

// Lines from `in`, the prompt written to `out` before each.
std::unique_ptr<LineReader> PlainLineReader(std::istream& in, std::ostream& out);

// Completes the line up to the cursor (completion.h).
using Completer = std::function<Completion(const std::string& beforeCursor)>;

// The line editor on the program's terminal; null when the standard input or
// output is no terminal, or the build has no line editor. Its history is kept in
// HOME/.statlume-host_history, and only for the session when HOME is not set.
std::unique_ptr<LineReader> TerminalLineReader(Completer complete);

}  // namespace cli
