#pragma once
// The host's framework objects as it lays them out behind their count word: a class
// descriptor pointer first, then the object's own fields.
#include <cstdint>
#include <map>
#include <string>

#include "testhost/abi.h"

namespace testhost {

struct StringValue {
  const std::uint8_t* descriptor;
  std::string* text;
};

struct ErrorValue {
  const std::uint8_t* descriptor;
  std::string* message;
  Location location;
  bool located;
  int code;
};

struct DataTypeValue {
  const std::uint8_t* descriptor;
  std::uint8_t reserved[32];
  std::uint32_t flags;  // byte 40; bit 0: static
  const char* name;
};
static_assert(offsetof(DataTypeValue, flags) == object::kDataTypeFlags);

struct DictionaryValue {
  const std::uint8_t* descriptor;
  std::map<std::string, bool>* values;
};

// Method blocks of the object-dispatch interfaces inside every class descriptor.
namespace descriptor {
inline constexpr std::uint64_t kErrorOffset = 40;
inline constexpr std::uint64_t kAggregatedOffset = kErrorOffset + 1 + 17 * object::kMethodEntry;
inline constexpr std::uint64_t kUnregisteredOffset = kAggregatedOffset + 1 + 4 * object::kMethodEntry;
inline constexpr std::uint64_t kSize = kUnregisteredOffset + 1;
}  // namespace descriptor

// Standard error codes: the order of the published prototypes.
namespace error {
inline constexpr int kOutOfMemory = 0, kNullPointer = 1, kIllegalArgument = 2, kIllegalState = 3,
                     kNotImplemented = 4, kUnresolved = 5, kUnknown = 6, kCount = 7;
}  // namespace error

}  // namespace testhost
