#include "testhost/strings_file.h"

#include <limits>

namespace testhost {

namespace {

// A text with "\n" turned into line breaks.
std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == 'n') {
      out += '\n';
      ++at;
    } else {
      out += text[at];
    }
  }
  return out;
}

// The length of the UTF-8 sequence a lead byte starts, its value bits, and the
// least value that needs that length; length 0 for a byte no sequence starts with.
struct Lead {
  std::size_t length;
  std::uint32_t bits, least;
};
Lead ReadLead(unsigned char byte) {
  if (byte < 0x80) return {1, byte, 0};
  if ((byte & 0xE0) == 0xC0) return {2, byte & 0x1Fu, 0x80};
  if ((byte & 0xF0) == 0xE0) return {3, byte & 0x0Fu, 0x800};
  if ((byte & 0xF8) == 0xF0) return {4, byte & 0x07u, 0x10000};
  return {0, 0, 0};
}

// Well-formed UTF-8 without NUL: no overlong forms, surrogates or values past
// U+10FFFF.
bool IsUtf8Text(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const Lead lead = ReadLead(static_cast<unsigned char>(text[at]));
    if (lead.length == 0 || text[at] == '\0' || at + lead.length > text.size()) return false;
    std::uint32_t value = lead.bits;
    for (std::size_t k = 1; k < lead.length; ++k) {
      const auto next = static_cast<unsigned char>(text[at + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3Fu);
    }
    if (value < lead.least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    at += lead.length;
  }
  return true;
}

// A piece of a line for a message, cut short when long.
std::string Quoted(const std::string& text) {
  constexpr std::size_t kLongest = 24;
  if (text.size() <= kLongest) return "'" + text + "'";
  std::size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
  return "'" + text.substr(0, cut) + "...'";
}

// The id of "digits", or false when it is not a decimal number that fits.
bool ReadId(const std::string& digits, std::int32_t& id) {
  if (digits.empty() || digits.size() > 10) return false;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > std::numeric_limits<std::int32_t>::max()) return false;
  id = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

StringsFile ParseStrings(const std::string& content) {
  StringsFile file;
  std::map<std::int32_t, int> firstLine;
  int number = 0;
  for (std::size_t start = 0; start < content.size();) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    const std::string line = content.substr(start, end - start);
    start = end + 1;
    ++number;
    auto skip = [&](const std::string& why) { file.problems.push_back("line " + std::to_string(number) + ": " + why); };
    if (!IsUtf8Text(line)) {
      skip("not UTF-8 text");
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      skip("no '=' between an id and its text");
      continue;
    }
    std::int32_t id = 0;
    if (!ReadId(line.substr(0, equals), id)) {
      skip(Quoted(line.substr(0, equals)) + " is not a string id");
      continue;
    }
    if (const auto [at, added] = firstLine.emplace(id, number); !added) {
      skip("id " + std::to_string(id) + " again (first on line " + std::to_string(at->second) + ")");
      continue;
    }
    file.strings[id] = Unescaped(line.substr(equals + 1));
  }
  return file;
}

}  // namespace testhost
