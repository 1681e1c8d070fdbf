#pragma once
// The host's published error interfaces and standard error prototypes. Plain data,
// as the interface list beside it.
#include "objectbase1.h"

namespace published {

// Error objects (object dispatch); the module calls SetLocation and GetMessage.
struct Error {
  static constexpr char kName[] = "net.hostapp.error";
  enum Slot : int {
    GetLocation, SetLocation, GetStackTrace, SetStackTrace, GetMessage, SetMessage,
    FormatMessage, SetMessageDelegate, GetCause, SetCause, GetMachine, SetMachine,
    PrivateGetCode, PrivateSetCode, PrivateSetPreallocation, PrivateGetPreallocation,
    PrivateSetDebugError, kMethodCount
  };
  static constexpr MethodDecl kMethods[] = {
      {"GetLocation", "954bbce7837ee06c"},      {"SetLocation", "18f63d9605005e98"},
      {"GetStackTrace", "2dcdbe56b11c1f51"},    {"SetStackTrace", "a92dbda105b0aebe"},
      {"GetMessage", "d73d6b153e2942a9"},       {"SetMessage", "082d84a39526df95"},
      {"FormatMessage", "28225b7cbd9b1334"},    {"SetMessageDelegate", "759af942ffd8450a"},
      {"GetCause", "26ea0427ae2f3c6a"},         {"SetCause", "02fd3dda30fc6f37"},
      {"GetMachine", "48a03f555dfde88a"},       {"SetMachine", "181b6ec11c872caa"},
      {"PrivateGetCode", "90f94313f767488d"},   {"PrivateSetCode", "c66bc4f5de6ea042"},
      {"PrivateSetPreallocation", "47695e2ac20a2d0a"},
      {"PrivateGetPreallocation", "1f429549bad5153f"},
      {"PrivateSetDebugError", "8173c46b3c5e03d5"},
  };
  static constexpr uint8_t kKinds[] = {0, 7, 0, 7, 6, 7, 6, 7, 0, 7, 0, 7, 0, 7, 7, 0, 7};
};

struct AggregatedError {
  static constexpr char kName[] = "net.hostapp.error.aggregated";
  enum Slot : int { AddError, AddErrorAt, GetCount, GetError, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"AddError", "dc12a136da1ec0dd"},
      {"AddError", "649bd0a07544bb62"},
      {"GetCount", "6b97cd5415a525c4"},
      {"GetError", "f273ad2b30b3ae27"},
  };
  static constexpr uint8_t kKinds[] = {7, 7, 0, 6};
};

// Error classes the module tests objects against (no methods of their own).
struct UnregisteredDataTypeError {
  static constexpr char kName[] = "net.hostapp.error.unregistereddatatype";
};

// Standard error prototypes by code: out of memory, null pointer, illegal argument,
// illegal state, function not implemented, unresolved, unknown.
namespace errors {
inline constexpr int kStandardErrorCount = 7;
inline constexpr const char* kPrototypes[kStandardErrorCount] = {
    "net.hostapp.error.outofmemory",
    "net.hostapp.error.nullpointer",
    "net.hostapp.error.illegalargument",
    "net.hostapp.error.illegalstate",
    "net.hostapp.error.functionnotimplemented",
    "net.hostapp.error.unresolved",
    "net.hostapp.error.unknown",
};
}  // namespace errors

}  // namespace published
