#pragma once
#include <string>

#include "testhost/scene.h"

namespace testhost {

// Reads a scene description (see testhost/scenes/default.scene) into a new document
// of `scene`, which becomes the active document. Throws std::runtime_error on a
// line it cannot read.
Document* LoadSceneFile(Scene& scene, const std::string& file);
// Finds an object of a loaded document by the name the file gave it.
SceneObject* FindObject(Document* document, const std::string& name);

}  // namespace testhost
