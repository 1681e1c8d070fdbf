#pragma once
// The value shapes that cross between the host and the plug-in, as the host lays
// them out, and byte-offset access to records the plug-in owns.
#include <cstdint>
#include <cstring>
#include <string>

#include "testhost/numbers.h"

namespace testhost {

// Reads and writes a value at a byte offset of a record the plug-in owns.
template <typename T>
T ReadAt(const void* base, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof(T));
  return value;
}
template <typename T>
void WriteAt(void* base, std::size_t offset, T value) {
  std::memcpy(static_cast<char*>(base) + offset, &value, sizeof(T));
}

// An identifier value: text and packed word.
struct IdValue {
  const char* text;
  std::uint64_t word;
};
static_assert(sizeof(IdValue) == id::kSize);

std::uint64_t IdHash(const char* text, std::size_t length);
IdValue MakeId(const char* text);  // text must outlive the value
std::size_t IdLength(const IdValue& value);
std::string IdText(const IdValue& value);
IdValue IdAt(const void* record, std::size_t offset);

// A source location: file path text, line, one zero word.
struct Location {
  const char* file;
  std::int64_t line;
  std::int64_t reserved;
};
std::string Describe(const Location* where);  // "file:line", or "no location"

// Opaque framework objects as the host hands them out.
struct FrameworkObject;
using ErrorHandle = const FrameworkObject*;

// A result: an error reference followed by the value.
template <typename T>
struct Result {
  ErrorHandle error;
  T value;
};

// A string slot: one pointer to a string object.
using StringSlot = FrameworkObject*;

}  // namespace testhost
