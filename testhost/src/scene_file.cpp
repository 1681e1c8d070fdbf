#include "testhost/scene_file.h"

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace testhost {

namespace {

const std::map<std::string, ObjectKind> kKinds = {
    {"polygon", ObjectKind::Polygon}, {"point", ObjectKind::Point},   {"null", ObjectKind::Null},
    {"camera", ObjectKind::Camera},   {"instance", ObjectKind::Instance}, {"cube", ObjectKind::Cube},
    {"sphere", ObjectKind::Sphere},   {"plane", ObjectKind::Plane}};

SceneObject* Find(SceneObject* first, const std::string& name) {
  for (SceneObject* object = first; object != nullptr; object = object->next) {
    if (object->name == name) return object;
    if (SceneObject* found = Find(object->firstChild, name)) return found;
  }
  return nullptr;
}

}  // namespace

SceneObject* FindObject(Document* document, const std::string& name) { return Find(document->firstRoot, name); }

Document* LoadSceneFile(Scene& scene, const std::string& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read scene file " + file);
  Document* document = scene.NewDocument();
  scene.SetActiveDocument(document);
  std::vector<SceneObject*> parents;  // by indent level
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos || line[start] == '#') continue;
    std::istringstream words(line.substr(start));
    std::string name, kind;
    words >> name >> kind;
    if (name == "active") {
      SceneObject* active = FindObject(document, kind);
      if (active == nullptr) throw std::runtime_error(file + ":" + std::to_string(number) + ": no object " + kind);
      scene.SetActive(document, active);
      continue;
    }
    auto found = kKinds.find(kind);
    if (found == kKinds.end() || start % 2 != 0 || start / 2 > parents.size())
      throw std::runtime_error(file + ":" + std::to_string(number) + ": cannot read '" + line + "'");
    parents.resize(start / 2);
    SceneObject* parent = parents.empty() ? nullptr : parents.back();
    std::int32_t a = 0, b = 0, c = 0;
    words >> a >> b >> c;
    SceneObject* object = nullptr;
    switch (found->second) {
      case ObjectKind::Polygon: object = scene.AddPolygonObject(document, a, b, c, parent); break;
      case ObjectKind::Point: object = scene.AddPointObject(document, a, parent); break;
      case ObjectKind::Cube:
      case ObjectKind::Sphere:
      case ObjectKind::Plane: object = scene.AddGenerator(document, found->second, a, parent); break;
      default: object = scene.Add(document, found->second, parent); break;
    }
    object->name = name;
    parents.push_back(object);
  }
  return document;
}

}  // namespace testhost
