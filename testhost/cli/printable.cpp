#include "printable.h"

namespace cli {

namespace {

std::string Escaped(const std::string& text, bool keepNewlines) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // U+0080 to U+009F arrive as C2 80 to C2 9F; some terminals act on them.
    const bool c1 = byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80;
    if (byte >= 0x20 && byte != 0x7F && !c1) {
      out += text[i];
    } else if (byte == '\n') {
      out += keepNewlines ? "\n" : "\\n";
    } else if (byte == '\t' || byte == '\r') {
      out += byte == '\t' ? "\\t" : "\\r";
    } else {
      const auto code = c1 ? static_cast<unsigned char>(text[++i]) : byte;
      out += c1 ? "\\u00" : "\\x";
      out += kHex[code >> 4];
      out += kHex[code & 0xF];
    }
  }
  return out;
}

}  // namespace

std::string Printable(const std::string& text) { return Escaped(text, false); }

std::string PrintableLines(const std::string& text) { return Escaped(text, true); }

}  // namespace cli
