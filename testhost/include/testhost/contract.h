#pragma once
// Argument contracts: what the host accepts in each argument of an entry or method
// it serves. A violation fails the test, naming the operation and the argument.
#include <cstdint>
#include <sstream>
#include <string>

#include "testhost/tables.h"

namespace testhost {

// A framework method the host publishes: its interface and its name.
struct MethodId {
  const char* interfaceName;
  const char* method;
};
std::string Describe(const MethodId& method);  // "net.hostapp.string.Alloc"

// The entry or method the host is serving on this thread, for contract messages.
class Serving {
 public:
  explicit Serving(const EntryId& entry);
  explicit Serving(const MethodId& method);
  ~Serving();
  Serving(const Serving&) = delete;
  Serving& operator=(const Serving&) = delete;
  static std::string Current();

 private:
  const EntryId* savedEntry_;
  const MethodId* savedMethod_;
};

class Contract {
 public:
  Contract() = default;
  // `detail` narrows the operation, e.g. "code 38 (MenuAddItem)".
  explicit Contract(std::string detail) : detail_(std::move(detail)) {}

  bool NotNull(const void* value, const char* argument);
  bool Null(const void* value, const char* argument);
  template <typename T, typename U>
  bool Is(const T& value, const U& expected, const char* argument) {
    if (value == expected) return true;
    std::ostringstream text;
    text << "must be " << expected << ", was " << value;
    return Fail(argument, text.str());
  }
  bool Check(bool holds, const char* argument, const std::string& expectation);
  bool Fail(const char* argument, const std::string& problem);
  bool Ok() const { return ok_; }

 private:
  std::string detail_;
  bool ok_ = true;
};

}  // namespace testhost
