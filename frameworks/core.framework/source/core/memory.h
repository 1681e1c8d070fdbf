#pragma once
#include <stddef.h>

#include "freestanding.h"

#include "sourcelocation.h"

namespace core {

// The framework allocator: every allocation of the plug-in goes through the host's
// system interface, never through the C library. Null when the host refuses.
void* FrameworkAlloc(size_t size, const SourceLocation& where);
void* FrameworkRealloc(void* block, size_t size, const SourceLocation& where);
void FrameworkFree(void* block);

// Allocates and constructs a T through the framework allocator; null on failure.
template <typename T, typename... Args>
T* FrameworkNew(const SourceLocation& where, Args&&... args) {
  void* block = FrameworkAlloc(sizeof(T), where);
  return block != nullptr ? ::new (At(block)) T(static_cast<Args&&>(args)...) : nullptr;
}

// Base of classes whose objects, when made with `new`, live in framework memory.
// A null answer of the allocator makes `new` answer null instead of constructing.
struct FrameworkAllocated {
  static void* operator new(size_t size) noexcept {
    static constexpr SourceLocation kNew{__FILE__, __LINE__, 0};
    return FrameworkAlloc(size, kNew);
  }
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void* object) { FrameworkFree(object); }
};

}  // namespace core
