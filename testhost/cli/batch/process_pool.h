#pragma once
// Runs commands a few at a time, each in a process of its own with its standard
// output and error captured and its standard input empty. A request to end the
// program (Ctrl-C, a closed terminal, SIGTERM, a closed pipe) ends the running
// processes first, so that they remove their temporary files.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "file_process.h"

namespace batch {

// Runs `commands` (each a program's path and its arguments), at most `atOnce` at
// a time, in their order; calls `ended` with a command's index as it ends (in
// the order they end) and `waiting` with the count of those still running each
// time it looked (at least five times a second) and none had ended.
void RunProcesses(const std::vector<std::vector<std::string>>& commands, int atOnce,
                  const std::function<void(std::size_t, FileProcessEnd&&)>& ended,
                  const std::function<void(std::size_t)>& waiting);

// What an interruption writes to the standard error before the program ends (the
// progress line's clearing); empty for nothing. At most 15 bytes.
void SetInterruptionText(const char* text);

// The cores this process may run on.
int CoreCount();

}  // namespace batch
