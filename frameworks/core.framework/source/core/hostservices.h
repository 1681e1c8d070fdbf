#pragma once
#include <stddef.h>
#include <stdint.h>

#include "sourcelocation.h"

// The route from the runtime's memory, console and log services to the host.
// Each goes through the bound system interface; unbound, the methods' fallbacks answer.
namespace core {

bool HostSystemBound();
// The console sink and the output mask are reached only through bound methods: an
// unbound one would report itself through the very diagnostics that called it.
bool HostConsoleBound();
bool HostConsoleOutputTypeBound();
uint32_t HostConsoleOutputType();
void HostConsoleOutput(const char* text, const char* file, int line, uint32_t flags);

void* HostAlloc(size_t size, const SourceLocation& where);
void* HostRealloc(void* block, size_t size, const SourceLocation& where);
void HostFree(void* block);
// Destroys and frees a framework object whose last reference went.
void HostFreeObject(const void* object);

}  // namespace core
