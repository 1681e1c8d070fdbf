#pragma once
#include <string>

namespace cli {

// Bad input: a message for the user, exit status 2.
struct UsageError {
  std::string message;
  std::string file = {};  // the file the message is about, when one is
};

}  // namespace cli
