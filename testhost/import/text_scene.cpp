// The text shorthand is read by the test host's own reader (scene_file.cpp); its
// errors become InputErrors.
#include "readers.h"
#include "scene_input.h"
#include "testhost/scene_file.h"

namespace testhost::input {

Document* LoadTextScene(Scene& scene, const std::string& file) {
  try {
    return LoadSceneFile(scene, file);
  } catch (const SceneFileError& error) {
    throw InputError(error.File(), error.Line(), error.Reason());
  }
}

}  // namespace testhost::input
