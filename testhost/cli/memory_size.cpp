#include <cctype>
#include <cstdio>

#include "memory_budget.h"
#include "usage_error.h"

namespace cli {

std::uint64_t ParseMemorySize(const std::string& option, const std::string& text) {
  if (text == "unlimited") return kUnlimited;
  std::size_t at = 0;
  std::uint64_t value = 0;
  bool overflow = false;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
    const auto digit = static_cast<std::uint64_t>(text[at] - '0');
    overflow = overflow || value > (UINT64_MAX - digit) / 10;
    if (!overflow) value = value * 10 + digit;
  }
  std::string unit = text.substr(at);
  for (char& c : unit) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  int shift = -1;
  if (unit.empty() || unit == "B") shift = 0;
  for (const char* prefix = "KMGT"; *prefix != '\0'; ++prefix) {
    const std::string p(1, *prefix);
    if (unit == p || unit == p + "B" || unit == p + "IB") shift = 10 * static_cast<int>(prefix - "KMGT" + 1);
  }
  if (at == 0 || shift < 0)
    throw UsageError{option + " takes a size such as 512M or 4G, or unlimited, not '" + text + "'"};
  if (overflow || value > (UINT64_MAX >> shift)) throw UsageError{option + " " + text + " is out of range"};
  value <<= shift;
  if (value < kLeastBudget)
    throw UsageError{option + " " + text + " is less than the program itself needs (" +
                     DescribeMemorySize(kLeastBudget) + ")"};
  return value;
}

std::string DescribeMemorySize(std::uint64_t bytes) {
  if (bytes == kUnlimited) return "unlimited";
  const char* const units[] = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  double size = static_cast<double>(bytes);
  int unit = 0;
  while (size >= 1024 && unit < 6) {
    size /= 1024;
    ++unit;
  }
  char text[32];
  const bool whole = size == static_cast<double>(static_cast<std::uint64_t>(size));
  std::snprintf(text, sizeof text, whole ? "%.0f %s" : "%.1f %s", size, units[unit]);
  return text;
}

}  // namespace cli
