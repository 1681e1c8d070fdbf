#include "hostservices.h"

#include "object.h"
#include "interfaces.h"

namespace core {

using iface::System;

bool HostSystemBound() { return IsBound(TableBinding<System>::reference); }

bool HostConsoleBound() {
  return IsBound(TableBinding<iface::Logger>::reference) && HostSystemBound() &&
         IsBound(TableBinding<iface::ThreadServices>::reference) &&
         IsMethodBound<System, System::ConsoleOutput>();
}

bool HostConsoleOutputTypeBound() { return IsMethodBound<System, System::GetConsoleOutputType>(); }

uint32_t HostConsoleOutputType() { return Method<System, System::GetConsoleOutputType>(); }

void HostConsoleOutput(const char* text, const char* file, int line, uint32_t flags) {
  const SourceLocation where{file, line, 0};
  Method<System, System::ConsoleOutput>(text, &where, flags, 0);
}

void* HostAlloc(size_t size, const SourceLocation& where) {
  return Method<System, System::Alloc>(size, &where);
}

void* HostRealloc(void* block, size_t size, const SourceLocation& where) {
  return Method<System, System::Realloc>(block, size, &where);
}

void HostFree(void* block) { Method<System, System::Free>(block); }

namespace {
// A framework object's class ends it: the host has nothing to run before it frees.
void NothingToEnd(void*) {}
}  // namespace

void HostFreeObject(const void* object) {
  Method<System, System::PrivateFreeWithDestructor>(object, &NothingToEnd);
}

}  // namespace core
