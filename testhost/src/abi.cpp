#include "testhost/abi.h"

namespace testhost {

std::uint64_t IdHash(const char* text, std::size_t length) {
  std::uint64_t hash = 0;
  for (std::size_t i = 0; i < length; ++i) hash = hash * 31 + static_cast<unsigned char>(text[i]);
  return hash & id::kHashMask;
}

IdValue MakeId(const char* text) {
  const std::size_t length = std::strlen(text);
  return IdValue{text, (static_cast<std::uint64_t>(length) << id::kLengthShift) | IdHash(text, length)};
}

std::size_t IdLength(const IdValue& value) { return static_cast<std::size_t>(value.word >> id::kLengthShift); }

std::string IdText(const IdValue& value) {
  return value.text != nullptr ? std::string(value.text, IdLength(value)) : std::string();
}

IdValue IdAt(const void* record, std::size_t offset) {
  return IdValue{ReadAt<const char*>(record, offset + id::kText), ReadAt<std::uint64_t>(record, offset + id::kWord)};
}

std::string Describe(const Location* where) {
  if (where == nullptr || where->file == nullptr) return "no location";
  return std::string(where->file) + ":" + std::to_string(where->line);
}

}  // namespace testhost
