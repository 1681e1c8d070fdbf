#pragma once
// The few language helpers the plug-in needs, built from the compiler's own C
// headers and builtins: the plug-in is compiled without the C++ standard library
// on every platform, so no <new>, <array>, <type_traits> or <utility> here.
#include <stddef.h>
#include <stdint.h>

namespace core {

// Placement construction without <new>: `new (core::At(block)) T(...)`.
struct At {
  explicit At(void* where) : place(where) {}
  void* place;
};

template <typename T>
inline constexpr bool kIsVoid = false;
template <>
inline constexpr bool kIsVoid<void> = true;

// A bool the host answers is one byte: the rest of the register is whatever the
// host's compiler left there. Every bool answer from the host, of a table entry or
// of a framework method, is read from the register through this.
inline bool BoolFromRegister(uintptr_t word) { return (word & 0xFF) != 0; }
// The type a host function is called as, so that its answer is read as above.
template <typename R>
struct RegisterAnswer {
  using Type = R;
};
template <>
struct RegisterAnswer<bool> {
  using Type = uintptr_t;
};
template <typename R, typename Word>
R FromRegister(Word word) {
  if constexpr (__is_same(R, bool)) return BoolFromRegister(word);
  else return word;
}

// A fixed-size array usable in constant expressions.
template <typename T, size_t N>
struct FixedArray {
  T items[N];
  constexpr T& operator[](size_t i) { return items[i]; }
  constexpr const T& operator[](size_t i) const { return items[i]; }
  constexpr const T* data() const { return items; }
  static constexpr size_t size() { return N; }
};

// A compile-time list of indices 0..N-1.
template <size_t... I>
struct IndexList {};
template <size_t N, size_t... I>
struct MakeIndexListOf : MakeIndexListOf<N - 1, N - 1, I...> {};
template <size_t... I>
struct MakeIndexListOf<0, I...> {
  using Type = IndexList<I...>;
};
template <size_t N>
using MakeIndexList = typename MakeIndexListOf<N>::Type;

}  // namespace core

inline void* operator new(size_t, core::At at) noexcept { return at.place; }
inline void operator delete(void*, core::At) noexcept {}
