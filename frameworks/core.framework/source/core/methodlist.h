#pragma once
// Method-name lists: "name@" plus 16 lower-case hex digits of the signature hash per
// method, zero-separated, ended by an empty entry. Built at compile time.
#include <stddef.h>
#include <stdint.h>

#include "freestanding.h"
#include "objectbase1.h"

namespace core {

using MethodDecl = published::MethodDecl;

inline constexpr size_t kSignatureHashDigits = 16;
inline constexpr char kNoMethods[1] = "";

constexpr size_t TextLength(const char* text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

template <size_t N>
constexpr size_t MethodNameListLength(const MethodDecl (&methods)[N]) {
  size_t length = 1;  // the closing empty entry
  for (const MethodDecl& method : methods) length += TextLength(method.name) + 1 + kSignatureHashDigits + 1;
  return length;
}

template <const auto& Methods>
struct MethodNameList {
  static constexpr size_t kLength = MethodNameListLength(Methods);
  static constexpr FixedArray<char, kLength> Build() {
    FixedArray<char, kLength> text{};
    size_t at = 0;
    for (const MethodDecl& method : Methods) {
      for (size_t i = 0; method.name[i] != '\0'; ++i) text[at++] = method.name[i];
      text[at++] = '@';
      for (size_t i = 0; i < kSignatureHashDigits; ++i) text[at++] = method.hash[i];
      text[at++] = '\0';
    }
    text[at] = '\0';
    return text;
  }
  static constexpr FixedArray<char, kLength> kText = Build();
};

}  // namespace core

namespace core {

// The signatures of an interface's methods, in slot order.
template <typename... Functions>
struct Signatures {
  static constexpr size_t kCount = sizeof...(Functions);
};

template <typename List, size_t Index>
struct SignatureAt;
template <typename First, typename... Rest>
struct SignatureAt<Signatures<First, Rest...>, 0> {
  using Type = First;
};
template <typename First, typename... Rest, size_t Index>
struct SignatureAt<Signatures<First, Rest...>, Index> {
  using Type = typename SignatureAt<Signatures<Rest...>, Index - 1>::Type;
};

}  // namespace core
