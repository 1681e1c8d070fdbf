#pragma once
// Text from files and from the plug-in, made safe to print on a terminal: control
// characters (a newline in a file name, an escape sequence in an object name)
// are written as escapes instead of acting on the terminal or splitting lines.
#include <string>

namespace cli {

// Control characters (C0, DEL and the UTF-8 forms of C1) as \n, \t, \r or \xNN;
// everything else as it is.
std::string Printable(const std::string& text);
// The same, keeping line breaks (a message box's text runs over several lines).
std::string PrintableLines(const std::string& text);

}  // namespace cli
