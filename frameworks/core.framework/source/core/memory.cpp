#include "memory.h"

#include "hostservices.h"

namespace core {

void* FrameworkAlloc(size_t size, const SourceLocation& where) {
  return HostAlloc(size, where);
}

void* FrameworkRealloc(void* block, size_t size, const SourceLocation& where) {
  return HostRealloc(block, size, where);
}

void FrameworkFree(void* block) {
  if (block != nullptr) HostFree(block);
}

}  // namespace core
