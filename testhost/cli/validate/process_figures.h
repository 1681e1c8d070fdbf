#pragma once
// What this process holds, read from /proc/self: the load cycles must not make it
// grow.
#include <cstddef>

namespace validate {

// The resident set in kilobytes, or 0 where it cannot be read.
long ResidentKilobytes();

// The files, libraries' handles included, held open; 0 where they cannot be listed.
std::size_t OpenHandles();

}  // namespace validate
