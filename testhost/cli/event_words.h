#pragma once
// The words of an event line. Whitespace separates words; a name with spaces is
// written in double quotes ("My Model.obj/Left Arm") or with each space after a
// backslash (My\ Model.obj/Left\ Arm). A backslash keeps the space, tab, quote or
// backslash after it in the word; before any other character it is itself, so a
// name such as "C:\Parts" needs no escaping.
#include <cstddef>
#include <string>
#include <vector>

namespace cli {

struct EventWord {
  std::string text;   // the word as meant: quotes and escapes taken away
  std::size_t start;  // where it begins in the line
  std::size_t end;    // one past its last character in the line
};

struct EventLine {
  std::vector<EventWord> words;
  bool openQuote = false;  // the line ends inside quotes
};

// Reads a line into words; never fails, so that half-typed lines can be completed.
EventLine SplitEventLine(const std::string& line);

// A word written so that SplitEventLine reads it back: spaces, tabs, quotes and
// backslashes get a backslash; `quoted` writes it for inside quotes, where only
// quotes and backslashes need one.
std::string EscapeEventWord(const std::string& word, bool quoted);

}  // namespace cli
