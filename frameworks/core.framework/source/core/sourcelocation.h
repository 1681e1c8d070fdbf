#pragma once
#include <stdint.h>

namespace core {

// Where a framework allocation, an error or a located diagnostic line comes from.
// Locations are static records: file path text, line number and one zero word.
struct SourceLocation {
  const char* file;
  int64_t line;
  int64_t reserved;
};
static_assert(sizeof(SourceLocation) == 24, "a source location is three words");

}  // namespace core

// A static location for the line it stands on.
#define CORE_HERE                                                              \
  ([]() -> const ::core::SourceLocation& {                                     \
    static constexpr ::core::SourceLocation loc{__FILE__, __LINE__, 0};        \
    return loc;                                                                \
  }())
