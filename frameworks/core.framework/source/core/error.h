#pragma once
#include "entityrecords.h"

namespace core {

// Reasons for PrivateGetNullReturnError.
enum NullReturnReason : int {
  kNullReturnNullPointer = 0,
  kNullReturnNullPointerAlt = 1,
  kNullReturnUnresolved = 2,
  kNullReturnNotImplemented = 3,
};

// Standard error kinds by code; any other code is the unknown error.
enum StandardErrorCode : int {
  kErrorOutOfMemory = 0,
  kErrorNullPointer = 1,
  kErrorIllegalArgument = 2,
  kErrorIllegalState = 3,
  kErrorNotImplemented = 4,
  kErrorUnresolved = 5,
  kErrorUnknown = 6,
};

// The standard error (without location) a caller returns when it cannot produce its
// own. Like every error handed out, it comes with a reference that the receiver
// owns and releases.
ErrorRef PrivateGetNullReturnError(int reason);

// A new error of the given kind, stamped with `where`. Never null: when the host
// provides no prototype a module-local error of the same kind stands in.
ErrorRef CreateError(const SourceLocation& where, int code);

// Makes `object` safe to change: a shared object (count word 24 or more) is
// replaced by a private copy and the shared reference is released. Null when no
// copy could be made.
const void* MakeUnshared(const void* object);

void ReleaseError(ErrorRef error);

// Whether `error` is one of the module-local errors used without host prototypes.
bool IsModuleLocalError(ErrorRef error);
ErrorRef ModuleLocalError(int code);

// The standard error declarations, indexed by code.
extern DeclarationReference g_standardErrors[7];

}  // namespace core
