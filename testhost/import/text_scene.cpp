// The text shorthand is read by the test host's own reader (scene_file.cpp), whose
// errors are already InputErrors.
#include "readers.h"
#include "scene_input.h"

namespace testhost::input {

Document* LoadTextScene(Scene& scene, const std::string& file) {
  return LoadSceneFile(scene, file);
}

}  // namespace testhost::input
