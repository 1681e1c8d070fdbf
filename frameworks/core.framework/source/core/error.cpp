#include "error.h"

namespace core {

struct ErrorObject {
  const char* what;
};

namespace {
// Module-local errors used until the host's error prototypes are bound, so that a
// failure always surfaces as a non-null error.
constexpr ErrorObject kNullPointerError{"null pointer"};
constexpr ErrorObject kUnresolvedError{"unresolved"};
constexpr ErrorObject kNotImplementedError{"function not implemented"};
}  // namespace

ErrorRef PrivateGetNullReturnError(int reason) {
  switch (reason) {
    case kNullReturnUnresolved: return &kUnresolvedError;
    case kNullReturnNotImplemented: return &kNotImplementedError;
    default: return &kNullPointerError;
  }
}

}  // namespace core
