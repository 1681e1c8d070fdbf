#pragma once
// Where things are in a JSON text. nlohmann's document does not keep positions,
// so a first pass over the text notes the line of every value by its JSON pointer
// ("/objects/0/segments"), so that a wrong value can be reported at its line.
#include <map>
#include <string>

namespace testhost::input {

struct JsonLines {
  std::map<std::string, int> lines;  // pointer -> line of the value's last character
  // Set when the text is not well-formed JSON (or nested deeper than allowed, or
  // repeats a key in an object): the line and the reason.
  int errorLine = 0;
  std::string error;
};

// Reads `text`; `maxDepth` limits the nesting of objects and arrays.
JsonLines ScanJson(const std::string& text, int maxDepth);

}  // namespace testhost::input
