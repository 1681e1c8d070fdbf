#include "apibaseid.h"


namespace core {

bool IdEquals(const EntityId& a, const EntityId& b) {
  if ((a.word & ~kIdOwnedText) != (b.word & ~kIdOwnedText)) return false;
  // Equal words give equal lengths. Empty texts are equal whatever they point to
  // (a null text included), and are never compared byte by byte.
  const size_t length = IdLength(a);
  if (length == 0 || a.text == b.text) return true;
  if (a.text == nullptr || b.text == nullptr) return false;
  return __builtin_memcmp(a.text, b.text, length) == 0;
}

EntityId EntityIdOfText(const char* text) {
  return text != nullptr ? MakeEntityId(text, __builtin_strlen(text)) : EntityId{nullptr, 0};
}

}  // namespace core
