// Builds without a JSON library (the Windows test host): JSON scenes are refused.
#include "readers.h"
#include "scene_input.h"

namespace testhost::input {

Document* LoadJsonScene(Scene&, const std::string& file) {
  throw InputError(file, 0, "this build cannot read JSON scenes; use a .scene file");
}

}  // namespace testhost::input
