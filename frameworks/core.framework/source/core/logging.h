#pragma once

#include "error.h"

namespace core {

// Hands one console line to the host's default logger (its Write method).
// Answers the null-pointer error, writing nothing, when no logger is available.
ErrorRef WriteLogLine(int target, int level, const char* text, int line, const char* file);

}  // namespace core
