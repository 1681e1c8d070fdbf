#pragma once
// The resource strings file ("strings.res") as the host reads it: UTF-8 text, one
// "id=text" line per string with a decimal id, "#" starting a comment line, "\n" in
// a text standing for a line break. A host takes the lines it can read and skips
// the others; the validator wants none skipped.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testhost {

struct StringsFile {
  std::map<std::int32_t, std::string> strings;  // by id, line breaks in place
  std::vector<std::string> problems;            // "line N: why", for each line skipped
};

StringsFile ParseStrings(const std::string& content);

}  // namespace testhost
