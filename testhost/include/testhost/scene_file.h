#pragma once
// The text shorthand for scenes (see testhost/scenes/default.scene): one object a
// line, two spaces of indent per level, "active NAME" for the active object.
#include <stdexcept>
#include <string>

#include "testhost/scene.h"

namespace testhost {

// A line of a scene file that cannot be read. line 0: the file as a whole.
class SceneFileError : public std::runtime_error {
 public:
  SceneFileError(std::string file, int line, std::string reason);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  int line_;
  std::string reason_;
};

// Reads a scene file into a new document of `scene`, which becomes the active
// document; its active object is the one the file names, else the first top-level
// object. The whole file is checked before the document is made, so a bad file
// (SceneFileError) leaves the scene as it was.
Document* LoadSceneFile(Scene& scene, const std::string& file);
// Finds an object of a loaded document by the name the file gave it (depth first).
SceneObject* FindObject(Document* document, const std::string& name);

}  // namespace testhost
