#include "scene_input.h"

namespace testhost::input {

InputError::InputError(std::string file, int line, std::string reason)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + reason),
      file_(std::move(file)),
      line_(line),
      reason_(std::move(reason)) {}

}  // namespace testhost::input
