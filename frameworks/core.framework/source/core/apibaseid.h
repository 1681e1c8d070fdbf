#pragma once
#include <stddef.h>
#include <stdint.h>

namespace core {

// The framework's identifier value: a pointer to static text plus one word packing
// the text's length (bits 44-63), an owned-text bit (43) and a 43-bit hash.
struct EntityId {
  const char* text;
  uint64_t word;
};
static_assert(sizeof(EntityId) == 16);

inline constexpr uint64_t kIdHashMask = 0x7ffffffffffULL;
inline constexpr uint64_t kIdOwnedText = 1ULL << 43;
inline constexpr int kIdLengthShift = 44;
inline constexpr size_t kIdMaxLength = (size_t{1} << 20) - 1;

// h = h * 31 + c over the unsigned bytes, 64-bit wrap-around, low 43 bits kept.
constexpr uint64_t HashIdText(const char* text, size_t length) {
  uint64_t hash = 0;
  for (size_t i = 0; i < length; ++i)
    hash = hash * 31 + static_cast<unsigned char>(text[i]);
  return hash & kIdHashMask;
}

constexpr EntityId MakeEntityId(const char* text, size_t length) {
  return EntityId{text, (static_cast<uint64_t>(length) << kIdLengthShift) |
                            HashIdText(text, length)};
}

template <size_t N>
constexpr EntityId Id(const char (&text)[N]) {
  return MakeEntityId(text, N - 1);
}

constexpr size_t IdLength(const EntityId& id) {
  return static_cast<size_t>(id.word >> kIdLengthShift);
}

// Equal when the words agree (ignoring the owned bit) and the texts are the same
// pointer or agree byte by byte.
bool IdEquals(const EntityId& a, const EntityId& b);

// Identifier of zero-terminated text computed at run time (no allocation).
EntityId EntityIdOfText(const char* text);

}  // namespace core
