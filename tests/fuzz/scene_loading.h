#pragma once
// One scene file through the scene input library, for fuzz_scene_json and
// fuzz_scene_text: the file loads, or is refused with an InputError that leaves the
// scene as it was. Anything else (another exception, a crash, a leak, a host
// fault) fails the input.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "scene_input.h"
#include "testhost/host.h"

namespace fuzz {

inline void LoadSceneBytes(const std::uint8_t* data, std::size_t size, const std::string& extension) {
  const std::string file =
      WriteScratch("input" + extension, std::string(reinterpret_cast<const char*>(data), size));
  auto host = testhost::Host::TablesOnly();
  testhost::Scene& scene = host->SceneModel();
  testhost::Document* before = scene.NewDocument();
  scene.SetActiveDocument(before);
  try {
    testhost::Document* loaded = testhost::input::LoadScene(scene, file);
    if (loaded == nullptr || loaded != scene.ActiveDocument()) Fail("a loaded scene is not the active document");
    if (loaded->active != nullptr && !scene.IsSceneObject(loaded->active)) Fail("the active object is not in the scene");
  } catch (const testhost::input::InputError& error) {
    if (scene.ActiveDocument() != before) Fail(std::string("a refused file changed the scene: ") + error.what());
    if (error.File() != file) Fail(std::string("the error names another file: ") + error.what());
  }
  RequireNoFailure(*host, "loading a scene");
}

}  // namespace fuzz
