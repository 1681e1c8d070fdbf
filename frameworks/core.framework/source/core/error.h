#pragma once

namespace core {

// Reference to a framework error object; null means success.
struct ErrorObject;
using ErrorRef = const ErrorObject*;

// Reasons for PrivateGetNullReturnError.
enum NullReturnReason : int {
  kNullReturnNullPointer = 0,
  kNullReturnNullPointerAlt = 1,
  kNullReturnUnresolved = 2,
  kNullReturnNotImplemented = 3,
};

// The shared error a caller returns when it cannot produce its own.
ErrorRef PrivateGetNullReturnError(int reason);

}  // namespace core
