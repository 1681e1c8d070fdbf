#pragma once
#include <cstddef>
#include <new>

#include "sourcelocation.h"

namespace core {

// The framework allocator: every allocation of the plug-in goes through the host's
// system interface, never through the C library. Null when the host refuses.
void* FrameworkAlloc(std::size_t size, const SourceLocation& where);
void* FrameworkRealloc(void* block, std::size_t size, const SourceLocation& where);
void FrameworkFree(void* block);

// Allocates and constructs a T through the framework allocator; null on failure.
template <typename T, typename... Args>
T* FrameworkNew(const SourceLocation& where, Args&&... args) {
  void* block = FrameworkAlloc(sizeof(T), where);
  return block != nullptr ? new (block) T(static_cast<Args&&>(args)...) : nullptr;
}

}  // namespace core
