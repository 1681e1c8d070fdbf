#include "events.h"

#include <charconv>
#include <map>

#include "event_words.h"

namespace cli {

namespace {

// Words each verb takes: at least, at most (-1: no limit).
struct Arity {
  int least, most;
};
const std::map<std::string, Arity> kVerbs = {
    {"select", {1, 1}}, {"children", {1, 1}}, {"nonpoly", {1, 1}},    {"pause", {1, 1}},
    {"about", {0, 0}},  {"help", {0, 0}},     {"add", {2, -1}},        {"delete", {1, 1}},
    {"move", {3, 3}},   {"edit", {3, 3}},     {"scene-change", {0, 0}}, {"close", {0, 0}},
    {"reopen", {0, 0}}, {"show", {0, 0}},     {"manual", {0, 0}}};

bool Switch(const std::string& word) {
  if (word == "on") return true;
  if (word == "off") return false;
  throw UsageError{"expected on or off, not '" + word + "'"};
}

std::int32_t Count(const std::string& word) {
  const char* begin = word.data() + (word.rfind('+', 0) == 0 ? 1 : 0);
  const char* end = word.data() + word.size();
  long long value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  const bool outOfRange = error == std::errc::result_out_of_range;
  if (begin == end || stop != end || (error != std::errc() && !outOfRange))
    throw UsageError{"'" + word + "' is not a number"};
  if (value < 0 || (outOfRange && word[0] == '-')) throw UsageError{"counts cannot be negative: " + word};
  if (outOfRange || value > 2147483647) throw UsageError{"count " + word + " is out of range (at most 2147483647)"};
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::vector<std::string> EventVerbs() {
  std::vector<std::string> verbs;
  for (const auto& [verb, arity] : kVerbs) verbs.push_back(verb);
  return verbs;
}

bool ParseEvent(const std::string& line, Event& event) {
  const EventLine split = SplitEventLine(line);
  if (split.words.empty() || line[split.words.front().start] == '#') return false;
  if (split.openQuote) throw UsageError{"a quote is not closed"};
  const std::string& verb = split.words.front().text;
  auto arity = kVerbs.find(verb);
  if (arity == kVerbs.end()) throw UsageError{"unknown event '" + verb + "'"};
  event = Event{verb, {}, line};
  for (std::size_t i = 1; i < split.words.size(); ++i) event.words.push_back(split.words[i].text);
  const int count = static_cast<int>(event.words.size());
  if (count < arity->second.least || (arity->second.most >= 0 && count > arity->second.most))
    throw UsageError{"wrong number of words for '" + verb + "'"};
  return true;
}

std::vector<ScriptLine> ReadScript(std::istream& in, const std::string& file) {
  std::vector<ScriptLine> lines;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    // Editors that save UTF-8 may begin the file with a byte-order mark.
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
        throw UsageError{file + ":" + std::to_string(number) + ": not a text line"};
    try {
      Event event;
      if (ParseEvent(line, event)) lines.push_back(ScriptLine{number, event});
    } catch (const UsageError& error) {
      throw UsageError{file + ":" + std::to_string(number) + ": " + error.message};
    }
  }
  return lines;
}

void ApplyEvent(Session& session, const Event& event) {
  const std::vector<std::string>& w = event.words;
  if (event.verb == "select") session.Select(w[0]);
  else if (event.verb == "children") session.SetOption(Option::kIncludeChildren, Switch(w[0]));
  else if (event.verb == "nonpoly") session.SetOption(Option::kIncludeNonPoly, Switch(w[0]));
  else if (event.verb == "pause") session.SetOption(Option::kPause, Switch(w[0]));
  else if (event.verb == "about") session.About();
  else if (event.verb == "help" || event.verb == "manual") session.ShowHelpFile();
  else if (event.verb == "delete") session.DeleteObject(w[0]);
  else if (event.verb == "scene-change") session.SceneChanged();
  else if (event.verb == "close") session.CloseWindow();
  else if (event.verb == "reopen") session.ReopenWindow();
  else if (event.verb == "show") return;
  else if (event.verb == "edit") session.EditObject(w[0], w[1], Count(w[2]));
  else if (event.verb == "move") {
    if (w[1] == "under") session.MoveObject(w[0], w[2]);
    else if (w[1] == "to" && w[2] == "top") session.MoveObject(w[0], "");
    else throw UsageError{"expected 'move PATH under PATH' or 'move PATH to top'"};
  } else if (event.verb == "add") {
    std::vector<std::int32_t> numbers;
    std::string parent;
    for (std::size_t i = 2; i < w.size(); ++i) {
      if (w[i] == "under") {
        if (i + 2 != w.size()) throw UsageError{"'under' takes one path, at the end"};
        parent = w[i + 1];
        break;
      }
      numbers.push_back(Count(w[i]));
    }
    session.AddObject(w[0], w[1], numbers, parent);
  }
}

}  // namespace cli
