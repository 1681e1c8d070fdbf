#include "count_text.h"

namespace cli {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == ',' || c == ' ' || c == '\''; }

}  // namespace

std::optional<std::int64_t> CountOfText(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  if (start == text.size() || !IsDigit(text[start])) return std::nullopt;
  char separator = '\0';
  std::size_t groupDigits = 0;  // digits since the last separator
  bool grouped = false;
  std::uint64_t magnitude = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    if (IsSeparator(c)) {
      // Every separator of one kind, each after a full group (the first group may be shorter).
      if ((separator != '\0' && c != separator) || groupDigits == 0 || groupDigits > 3 ||
          (grouped && groupDigits != 3))
        return std::nullopt;
      separator = c;
      grouped = true;
      groupDigits = 0;
      continue;
    }
    if (!IsDigit(c)) return std::nullopt;
    ++groupDigits;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (magnitude > (static_cast<std::uint64_t>(INT64_MAX) + (negative ? 1 : 0) - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  if (grouped && groupDigits != 3) return std::nullopt;
  if (negative) return magnitude == 0 ? 0 : -static_cast<std::int64_t>(magnitude - 1) - 1;
  return static_cast<std::int64_t>(magnitude);
}

}  // namespace cli
