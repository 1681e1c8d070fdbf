#include "completion.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "event_words.h"
#include "events.h"
#include "scene_input.h"
#include "scene_path_syntax.h"

namespace cli {

namespace {

using testhost::SceneObject;

// What a word may become; `whole` when nothing can follow it in the word.
struct Candidate {
  std::string text;
  bool whole = true;
};

// The session's own words beside the events (interactive.cpp).
const char* const kSessionWords[] = {"help", "quit"};
// The kinds "add" takes (testhost::KindNamed) and the fields "edit" changes.
const std::vector<std::string> kKinds = {"camera", "cube", "instance", "null", "plane", "point", "polygon", "sphere"};
const std::vector<std::string> kFields = {"ngons", "points", "polygons", "segments"};

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

// The longest start all candidates share, cut back to whole UTF-8 characters.
std::string SharedStart(const std::vector<Candidate>& candidates) {
  std::string shared = candidates.front().text;
  for (const Candidate& candidate : candidates) {
    std::size_t n = 0;
    while (n < shared.size() && n < candidate.text.size() && shared[n] == candidate.text[n]) ++n;
    shared.resize(n);
  }
  std::size_t lead = shared.size();
  while (lead > 0 && (static_cast<unsigned char>(shared[lead - 1]) & 0xC0) == 0x80) --lead;
  if (lead > 0 && static_cast<unsigned char>(shared[lead - 1]) >= 0xC0) {
    const unsigned char first = static_cast<unsigned char>(shared[lead - 1]);
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    if (shared.size() - (lead - 1) < length) shared.resize(lead - 1);
  }
  return shared;
}

std::vector<Candidate> Words(const std::vector<std::string>& words, const std::string& typed) {
  std::vector<Candidate> found;
  for (const std::string& word : words)
    if (StartsWith(word, typed)) found.push_back({word, true});
  return found;
}

// The name an object has in its path among its siblings from `first`, its place
// among those of its name being `index` (as testhost::input::PathOf writes it).
std::string StepOf(const SceneObject* object, const SceneObject* first, std::size_t index) {
  if (index == 1) {
    const testhost::input::PathStep step = testhost::input::ParseStep(object->name);
    // Only a name that itself ends in "[N]" can mean another sibling.
    if (step.index == 0 ||
        testhost::input::PickSibling(step, first, [](const SceneObject* s) { return s->next; },
                                     [](const SceneObject* s) -> const std::string& { return s->name; }) == object)
      return object->name;
  }
  return object->name + "[" + std::to_string(index) + "]";
}

// The objects whose paths begin with `typed`, one level below the last '/'.
std::vector<Candidate> Paths(const std::string& typed, testhost::Document* document) {
  if (document == nullptr) return {};
  const std::size_t slash = typed.rfind('/');
  const std::string lead = slash == std::string::npos ? "" : typed.substr(0, slash + 1);
  const std::string start = typed.substr(lead.size());
  const SceneObject* first = document->firstRoot;
  if (!lead.empty()) {
    const SceneObject* parent = testhost::input::FindByPath(document, typed.substr(0, slash));
    if (parent == nullptr) return {};
    first = parent->firstChild;
  }
  std::vector<Candidate> found;
  std::unordered_map<std::string, std::size_t> seen;  // siblings so far of each name
  for (const SceneObject* object = first; object != nullptr; object = object->next) {
    const std::size_t index = ++seen[object->name];
    if (!StartsWith(object->name, start) && !StartsWith(start, object->name)) continue;
    const std::string step = StepOf(object, first, index);
    if (!StartsWith(step, start)) continue;
    found.push_back({lead + step, object->firstChild == nullptr});
  }
  // The one object named in full: its children follow.
  if (found.size() == 1 && found.front().text == typed && !found.front().whole) return Paths(typed + "/", document);
  return found;
}

// The candidates for word `index` (0: the verb) of a line whose words are `words`.
std::vector<Candidate> CandidatesFor(const std::vector<EventWord>& words, std::size_t index, const std::string& typed,
                                     testhost::Document* document) {
  if (index == 0) {
    std::set<std::string> verbs(std::begin(kSessionWords), std::end(kSessionWords));
    for (const std::string& verb : EventVerbs()) verbs.insert(verb);
    return Words({verbs.begin(), verbs.end()}, typed);
  }
  const std::string& verb = words.front().text;
  const std::size_t argument = index - 1;
  auto before = [&](std::size_t i) { return i < words.size() ? words[i].text : std::string(); };
  if (verb == "select" || verb == "delete") return argument == 0 ? Paths(typed, document) : std::vector<Candidate>{};
  if (verb == "children" || verb == "nonpoly" || verb == "pause")
    return argument == 0 ? Words({"off", "on"}, typed) : std::vector<Candidate>{};
  if (verb == "edit") {
    if (argument == 0) return Paths(typed, document);
    if (argument == 1) return Words(kFields, typed);
    return {};
  }
  if (verb == "move") {
    if (argument == 0) return Paths(typed, document);
    if (argument == 1) return Words({"to", "under"}, typed);
    if (argument == 2 && before(2) == "under") return Paths(typed, document);
    if (argument == 2 && before(2) == "to") return Words({"top"}, typed);
    return {};
  }
  if (verb == "add") {
    if (argument == 0) return Words(kKinds, typed);
    if (argument == 1) return {};
    for (std::size_t i = 3; i < index && i < words.size(); ++i)
      if (words[i].text == "under") return i + 1 == index ? Paths(typed, document) : std::vector<Candidate>{};
    return Words({"under"}, typed);
  }
  return {};
}

}  // namespace

Completion Complete(const std::string& beforeCursor, testhost::Document* document) {
  const EventLine line = SplitEventLine(beforeCursor);
  const bool inWord = !line.words.empty() && line.words.back().end == beforeCursor.size();
  const std::size_t index = inWord ? line.words.size() - 1 : line.words.size();
  Completion completion;
  completion.from = inWord ? line.words.back().start : beforeCursor.size();
  completion.text = beforeCursor.substr(completion.from);
  const std::string typed = inWord ? line.words.back().text : std::string();
  const std::vector<Candidate> candidates = CandidatesFor(line.words, index, typed, document);
  if (candidates.empty()) return completion;

  const bool quoted = completion.from < beforeCursor.size() && beforeCursor[completion.from] == '"';
  const std::string shared = SharedStart(candidates);
  const bool whole = candidates.size() == 1 && candidates.front().whole;
  std::string text = EscapeEventWord(shared, quoted);
  if (quoted) text = '"' + text + (whole ? "\"" : "");
  if (whole) text += ' ';
  if (shared.size() > typed.size() || whole) completion.text = text;
  if (candidates.size() > 1) {
    for (const Candidate& candidate : candidates) {
      if (completion.choices.size() == kMostChoicesListed) break;
      const std::size_t slash = candidate.text.rfind('/');
      completion.choices.push_back(slash == std::string::npos ? candidate.text : candidate.text.substr(slash + 1));
    }
    completion.unlisted = candidates.size() - completion.choices.size();
  }
  return completion;
}

}  // namespace cli
