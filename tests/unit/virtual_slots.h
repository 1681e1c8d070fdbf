#pragma once
// Where a virtual operation sits in its class's table: the host calls the
// operations of plug-in classes by position, so each test pins the positions.
#include <cstdint>
#include <cstring>

// A member function pointer to a virtual function holds 1 + its byte offset in the
// table (two-word layout).
template <typename F>
std::uintptr_t VirtualOffset(F function) {
  std::uintptr_t words[2];
  static_assert(sizeof(function) == sizeof(words));
  std::memcpy(words, &function, sizeof(words));
  return words[0] - 1;
}
