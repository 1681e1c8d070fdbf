#pragma once
#include <stdint.h>

namespace core {

// Reference-counted framework objects carry their count, in units of 16, in the
// 64-bit word directly before the object. The low four bits are reserved.
inline constexpr int64_t kReferenceUnit = 16;

inline int64_t* CountWord(const void* object) {
  return reinterpret_cast<int64_t*>(const_cast<char*>(static_cast<const char*>(object)) - 8);
}

inline void AddReference(const void* object) {
  __atomic_fetch_add(CountWord(object), kReferenceUnit, __ATOMIC_RELAXED);
}

// Drops one reference; true when it was the last one (the value before the drop was
// below 32), in which case the caller destroys the object.
inline bool DropReference(const void* object) {
  return __atomic_fetch_sub(CountWord(object), kReferenceUnit, __ATOMIC_ACQ_REL) < 2 * kReferenceUnit;
}

// An object is unshared while its count word is below 24.
inline bool IsUnshared(const void* object) {
  return __atomic_load_n(CountWord(object), __ATOMIC_ACQUIRE) < kReferenceUnit + 8;
}

// Drops a reference to a framework object and frees it through the host when it
// was the last one.
void ReleaseObject(const void* object);

}  // namespace core
