#pragma once
// Reading the scenes people point the command-line host at: the native JSON scene
// format, the text shorthand, and real 3D files through the importer. Every way a
// file can be bad ends in an InputError that names the file, the line where there
// is one, and the reason; a bad file leaves the scene as it was.
#include <stdexcept>
#include <string>
#include <vector>

#include "testhost/scene.h"
#include "testhost/scene_file.h"

namespace testhost::input {

// The error of every reader: file, line (0: the file as a whole) and reason, its
// text "FILE:LINE: REASON". The text shorthand's own reader throws it too.
using InputError = SceneFileError;

// Reads a scene file into a new document of `scene`, made the active document.
// The format follows the file name's extension (any case): JSON scene (.json), text
// shorthand (.scene), or a 3D file (OBJ, glTF/GLB, PLY, STL, FBX, COLLADA, 3DS and
// what else the importer reads). A 3D file becomes one top-level object named after
// the file, holding the file's node hierarchy (import_assimp.cpp has the rules).
// The document's active object is the one the file names, else the first
// top-level object.
Document* LoadScene(Scene& scene, const std::string& file);

// The object at a path of names from the top level, such as "Robot/Head"; null
// when there is none. Among siblings of the same name, "Bolt[2]" is the second and
// "Bolt" the first (scene_path_syntax.h).
SceneObject* FindByPath(Document* document, const std::string& path);
// The path of an object, the inverse of FindByPath: a name takes its "[N]" only
// where the name alone would find another object.
std::string PathOf(const SceneObject* object);

// Every object of a document in the order of the hierarchy (each object before
// its children, siblings in their order), with its path as PathOf gives it and its
// depth (0 at the top level). Each list of siblings is read once, so a wide scene
// costs no more than a deep one.
struct ObjectPath {
  SceneObject* object;
  std::string path;
  int depth;
};
std::vector<ObjectPath> AllPaths(Document* document);

// The 3D formats this build reads, as lower-case file extensions with the dot
// (".obj"); empty without the importer.
std::vector<std::string> ImportedExtensions();

}  // namespace testhost::input
