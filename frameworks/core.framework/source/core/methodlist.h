#pragma once
// Method-name lists: "name@" plus 16 lower-case hex digits of the signature hash per
// method, zero-separated, ended by an empty entry. Built at compile time.
#include <array>
#include <cstddef>
#include <cstdint>

#include "objectbase1.h"

namespace core {

using MethodDecl = published::MethodDecl;

inline constexpr std::size_t kSignatureHashDigits = 16;
inline constexpr char kNoMethods[1] = "";

constexpr std::size_t TextLength(const char* text) {
  std::size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

template <std::size_t N>
constexpr std::size_t MethodNameListLength(const MethodDecl (&methods)[N]) {
  std::size_t length = 1;  // the closing empty entry
  for (const MethodDecl& method : methods) length += TextLength(method.name) + 1 + kSignatureHashDigits + 1;
  return length;
}

template <const auto& Methods>
struct MethodNameList {
  static constexpr std::size_t kLength = MethodNameListLength(Methods);
  static constexpr std::array<char, kLength> Build() {
    std::array<char, kLength> text{};
    std::size_t at = 0;
    for (const MethodDecl& method : Methods) {
      for (std::size_t i = 0; method.name[i] != '\0'; ++i) text[at++] = method.name[i];
      text[at++] = '@';
      for (std::size_t i = 0; i < kSignatureHashDigits; ++i) text[at++] = method.hash[i];
      text[at++] = '\0';
    }
    text[at] = '\0';
    return text;
  }
  static constexpr std::array<char, kLength> kText = Build();
};

}  // namespace core

namespace core {

// The signatures of an interface's methods, in slot order.
template <typename... Functions>
struct Signatures {
  static constexpr std::size_t kCount = sizeof...(Functions);
};

template <typename List, std::size_t Index>
struct SignatureAt;
template <typename First, typename... Rest>
struct SignatureAt<Signatures<First, Rest...>, 0> {
  using Type = First;
};
template <typename First, typename... Rest, std::size_t Index>
struct SignatureAt<Signatures<First, Rest...>, Index> {
  using Type = typename SignatureAt<Signatures<Rest...>, Index - 1>::Type;
};

}  // namespace core
