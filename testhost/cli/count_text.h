#pragma once
// The number a field of the dialog shows, read back from its text, so that
// programs reading the output get numbers beside the texts as shown.
#include <cstdint>
#include <optional>
#include <string>

namespace cli {

// Plain digits with an optional minus ("1234", "-5"), or digits in groups of three
// set apart by one kind of separator ("1,234,567", "1 234"); nothing for a text
// that is no number ("", "-", "12x", "1,23") or lies beyond 64 bits.
std::optional<std::int64_t> CountOfText(const std::string& text);

}  // namespace cli
