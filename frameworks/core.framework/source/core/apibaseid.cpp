#include "apibaseid.h"

#include <string.h>

namespace core {

bool IdEquals(const EntityId& a, const EntityId& b) {
  if ((a.word & ~kIdOwnedText) != (b.word & ~kIdOwnedText)) return false;
  if (a.text == b.text) return true;
  if (a.text == nullptr || b.text == nullptr) return false;
  return memcmp(a.text, b.text, IdLength(a)) == 0;
}

EntityId EntityIdOfText(const char* text) {
  return text != nullptr ? MakeEntityId(text, strlen(text)) : EntityId{nullptr, 0};
}

}  // namespace core
