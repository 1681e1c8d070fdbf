#pragma once
// The plug-in's main-thread job code. The library exports no way to post a job, so
// it is reached through the binding layer's host state scope, whose routines are
// found by name in the library's symbol table and placed by the entry point's
// address: each begin and each end of a scope posts one job that sets the host
// state (3 or 2) on the main thread.
#include <string>

#include "cases.h"

namespace validate {

// The scope's routines in a loaded library. The scope object is one byte.
struct ScopeCode {
  void (*construct)(void* scope, bool begin) = nullptr;
  void (*begin)(void* scope) = nullptr;
  void (*end)(void* scope) = nullptr;
  void (*destroy)(void* scope) = nullptr;
};

// Why the library file's job code cannot be reached (no symbol table, or one that
// lacks a routine); empty when it can.
std::string MissingJobCode(const std::string& libraryFile);

// The scope's routines in the library the host loaded; when they cannot be found,
// the library is unloaded and the case skipped for want of a symbol table.
bool ReachScopeCode(testhost::Host& host, ScopeCode& code, CaseResult& result);

}  // namespace validate
