#pragma once
// Completing what the user types at the terminal session's prompt: the event
// verbs, the words each event takes (on|off, kinds, fields, under|to) and the paths
// of the scene's objects, one name at a time, as a shell completes file names.
#include <cstddef>
#include <string>
#include <vector>

#include "testhost/scene.h"

namespace cli {

struct Completion {
  std::size_t from = 0;  // the word being completed begins here in the line
  // What replaces the line from `from` to the cursor: the word as typed when there
  // is nothing to add. A word completed in full ends in a space.
  std::string text;
  std::vector<std::string> choices;  // what the word may become, when it is not one thing
  std::size_t unlisted = 0;          // further choices, left out of a long list
};

// The most choices listed at once.
inline constexpr std::size_t kMostChoicesListed = 200;

// Completes the word that ends at the cursor; `beforeCursor` is the line up to the
// cursor. Paths are completed against `document` (none when it is null).
Completion Complete(const std::string& beforeCursor, testhost::Document* document);

}  // namespace cli
