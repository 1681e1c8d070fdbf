#include "hostservices.h"

namespace core {

// No framework interface is bound yet: every service answers "not available".
bool HostSystemBound() { return false; }
bool HostConsoleBound() { return false; }
std::uint32_t HostConsoleOutputType() { return 0; }
void HostConsoleOutput(const char*, const char*, int, std::uint32_t) {}

void* HostAlloc(std::size_t, const SourceLocation&) { return nullptr; }
void* HostRealloc(void*, std::size_t, const SourceLocation&) { return nullptr; }
void HostFree(void*) {}

}  // namespace core

namespace core {
void HostFreeObject(const void*) {}
}  // namespace core
