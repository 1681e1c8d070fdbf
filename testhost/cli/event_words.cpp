#include "event_words.h"

namespace cli {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// What a backslash escapes: outside quotes the word separators too.
bool Escapable(char c, bool inQuotes) { return c == '"' || c == '\\' || (!inQuotes && (c == ' ' || c == '\t')); }

}  // namespace

EventLine SplitEventLine(const std::string& line) {
  EventLine result;
  std::size_t i = 0;
  const std::size_t size = line.size();
  while (i < size) {
    if (IsSpace(line[i])) {
      ++i;
      continue;
    }
    EventWord word{"", i, i};
    bool inQuotes = false;
    for (; i < size && (inQuotes || !IsSpace(line[i])); ++i) {
      const char c = line[i];
      if (c == '"') {
        inQuotes = !inQuotes;
      } else if (c == '\\' && i + 1 < size && Escapable(line[i + 1], inQuotes)) {
        word.text += line[++i];
      } else {
        word.text += c;
      }
    }
    word.end = i;
    result.openQuote = inQuotes;
    result.words.push_back(word);
  }
  return result;
}

std::string EscapeEventWord(const std::string& word, bool quoted) {
  std::string escaped;
  for (char c : word) {
    if (Escapable(c, quoted)) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

}  // namespace cli
