#include "testhost/scene.h"

#include <cstdint>

#include "testhost/host.h"

namespace testhost {

GeneratedCounts Generate(ObjectKind kind, std::int32_t segments) {
  const std::int32_t s = segments < 1 ? 1 : segments;
  switch (kind) {
    case ObjectKind::Cube:  // a closed cube of s x s quads per face
      return {6 * s * s + 2, 6 * s * s, 0};
    case ObjectKind::Sphere: {  // s segments around, s / 2 rings, triangles at the poles
      const std::int32_t around = s < 3 ? 3 : s;
      const std::int32_t rings = around / 2 < 2 ? 2 : around / 2;
      return {around * (rings - 1) + 2, around * rings, 0};
    }
    case ObjectKind::Plane:
      return {(s + 1) * (s + 1), s * s, 0};
    default:
      return {0, 0, 0};
  }
}

bool IsGenerator(ObjectKind kind) {
  return kind == ObjectKind::Cube || kind == ObjectKind::Sphere || kind == ObjectKind::Plane;
}

std::int32_t TypeOf(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Polygon: return kTypePolygon;
    case ObjectKind::Point: return kTypePoint;
    case ObjectKind::Null: return kTypeNull;
    case ObjectKind::Camera: return kTypeCamera;
    case ObjectKind::Instance: return kTypeInstance;
    case ObjectKind::Cube: return kTypeCube;
    case ObjectKind::Sphere: return kTypeSphere;
    case ObjectKind::Plane: return kTypePlane;
  }
  return 0;
}

Document* Scene::NewDocument() {
  documents_.push_back(std::make_unique<Document>());
  if (activeDocument_ == nullptr) activeDocument_ = documents_.back().get();
  return documents_.back().get();
}

void Scene::Link(Document* document, SceneObject* object, SceneObject* parent) {
  object->parent = parent;
  SceneObject*& first = parent != nullptr ? parent->firstChild : document->firstRoot;
  SceneObject*& last = parent != nullptr ? parent->lastChild : document->lastRoot;
  object->previous = last;
  if (last != nullptr) last->next = object;
  else first = object;
  last = object;
}

SceneObject* Scene::NewObject(Document* document, ObjectKind kind, SceneObject* parent) {
  objects_.push_back(std::make_unique<SceneObject>());
  SceneObject* object = objects_.back().get();
  object->kind = kind;
  object->document = document;
  sceneObjects_.insert(object);
  Link(document, object, parent);
  return object;
}

SceneObject* Scene::AddPolygonObject(Document* document, std::int32_t points, std::int32_t polygons,
                                     std::int32_t ngons, SceneObject* parent) {
  SceneObject* object = NewObject(document, ObjectKind::Polygon, parent);
  object->points = points;
  object->polygons = polygons;
  object->ngons = ngons;
  return object;
}

SceneObject* Scene::AddPointObject(Document* document, std::int32_t points, SceneObject* parent) {
  SceneObject* object = NewObject(document, ObjectKind::Point, parent);
  object->points = points;
  return object;
}

SceneObject* Scene::AddGenerator(Document* document, ObjectKind kind, std::int32_t segments, SceneObject* parent) {
  SceneObject* object = NewObject(document, kind, parent);
  object->segments = segments;
  return object;
}

SceneObject* Scene::Add(Document* document, ObjectKind kind, SceneObject* parent) {
  return NewObject(document, kind, parent);
}

bool Scene::IsLive(const SceneObject* object) const {
  return sceneObjects_.count(object) != 0 || copies_.count(object) != 0;
}

SceneObject* Scene::Checked(void* object, const char* operation) {
  auto* scene = static_cast<SceneObject*>(object);
  if (scene == nullptr || !validate_) return scene;
  if (!IsLive(scene)) {
    host_.Fail(std::string(operation) + " on an object the host does not know (or freed)");
    return nullptr;
  }
  return scene;
}

SceneObject* Scene::NewCopy(ObjectKind kind) {
  auto copy = std::make_unique<SceneObject>();
  copy->kind = kind;
  copy->copy = true;
  SceneObject* raw = copy.get();
  copies_[raw] = std::move(copy);
  return raw;
}

// The editable form of a subtree: generators become polygon objects. Iterative, so
// that hierarchies of any depth can be copied.
SceneObject* Scene::CopyTree(const SceneObject* source, SceneObject* parent) {
  auto copyOne = [this](const SceneObject* from, SceneObject* under) {
    SceneObject* copy = NewCopy(IsGenerator(from->kind) ? ObjectKind::Polygon : from->kind);
    if (IsGenerator(from->kind)) {
      const GeneratedCounts counts = Generate(from->kind, from->segments);
      copy->points = counts.points;
      copy->polygons = counts.polygons;
      copy->ngons = counts.ngons;
    } else {
      copy->points = from->points;
      copy->polygons = from->polygons;
      copy->ngons = from->ngons;
    }
    copy->name = from->name;
    if (under != nullptr) {
      copy->parent = under;
      copy->previous = under->lastChild;
      if (under->lastChild != nullptr) under->lastChild->next = copy;
      else under->firstChild = copy;
      under->lastChild = copy;
    }
    return copy;
  };
  SceneObject* root = copyOne(source, parent);
  std::vector<std::pair<const SceneObject*, SceneObject*>> pending{{source, root}};
  while (!pending.empty()) {
    const auto [from, to] = pending.back();
    pending.pop_back();
    for (const SceneObject* child = from->firstChild; child != nullptr; child = child->next)
      pending.emplace_back(child, copyOne(child, to));
  }
  return root;
}

bool Scene::RunCommand(std::int32_t command, CommandRecord* record) {
  ++commandsRun_;
  if (record == nullptr) return false;
  SceneObject* object = Checked(record->object, "a modeling command");
  if (object == nullptr || failing_.count(command) != 0) return false;
  if (command != 245 && command != 246) return false;

  ResultListValue* list = record->result;
  if (list != nullptr && lists_.count(list) == 0) {
    host_.Fail("a modeling command record holds a result list the host does not know");
    list = nullptr;
  }
  if (list != nullptr && listPolicy_ == ListPolicy::kReplace) {
    lists_.erase(list);  // the host releases the list it replaces; its nodes stay the caller's
    list = nullptr;
  }
  if (list == nullptr) {
    auto fresh = std::make_unique<ResultListValue>();
    list = fresh.get();
    lists_[list] = std::move(fresh);
  }
  record->result = list;
  if (empty_.count(command) != 0) return true;

  SceneObject* result = nullptr;
  if (command == 245) {
    result = CopyTree(object, nullptr);
  } else {
    // One polygon object joined from the whole hierarchy below `object`. Counts are
    // Int32 in the host; a join beyond that range saturates.
    result = NewCopy(ObjectKind::Polygon);
    std::int64_t points = 0, polygons = 0, ngons = 0;
    std::vector<const SceneObject*> pending{object};
    while (!pending.empty()) {
      const SceneObject* current = pending.back();
      pending.pop_back();
      if (IsGenerator(current->kind)) {
        const GeneratedCounts counts = Generate(current->kind, current->segments);
        points += counts.points;
        polygons += counts.polygons;
        ngons += counts.ngons;
      } else if (current->kind == ObjectKind::Polygon || current->kind == ObjectKind::Point) {
        points += current->points;
        polygons += current->polygons;
        ngons += current->ngons;
      }
      for (const SceneObject* child = current->firstChild; child != nullptr; child = child->next)
        pending.push_back(child);
    }
    const auto clamp = [](std::int64_t value) {
      return static_cast<std::int32_t>(value > INT32_MAX ? INT32_MAX : value);
    };
    result->points = clamp(points);
    result->polygons = clamp(polygons);
    result->ngons = clamp(ngons);
  }
  copyRoots_.insert(result);
  list->nodes.push_back(result);
  return true;
}

SceneObject* Scene::ResultAt(ResultListValue* list, std::int32_t index) {
  if (list == nullptr || lists_.count(list) == 0) {
    if (list != nullptr) host_.Fail("reading a result list the host does not know");
    return nullptr;
  }
  if (index < 0 || static_cast<std::size_t>(index) >= list->nodes.size()) return nullptr;
  return list->nodes[static_cast<std::size_t>(index)];
}

void Scene::FreeResultList(ResultListValue** field) {
  if (field == nullptr || *field == nullptr) return;
  if (lists_.erase(*field) == 0) host_.Fail("releasing a result list the host does not know");
  *field = nullptr;
}

void Scene::FreeObject(SceneObject* object) {
  if (object == nullptr) return;
  if (sceneObjects_.count(object) != 0) {
    host_.Fail("the plug-in freed an object that belongs to a document");
    return;
  }
  if (freedSet_.count(object) != 0) {
    host_.Fail("the plug-in freed an object twice");
    return;
  }
  if (copies_.count(object) == 0) {
    host_.Fail("the plug-in freed an object the host never handed out");
    return;
  }
  // Freeing an object frees its children with it.
  std::vector<SceneObject*> pending{object};
  while (!pending.empty()) {
    SceneObject* current = pending.back();
    pending.pop_back();
    for (SceneObject* child = current->firstChild; child != nullptr; child = child->next) pending.push_back(child);
    auto found = copies_.find(current);
    if (found == copies_.end()) continue;
    found->second->freed = true;
    freedSet_.insert(current);
    freedCopies_.push_back(std::move(found->second));  // kept so that an address is never reused
    copies_.erase(found);
  }
  copyRoots_.erase(object);
  ++freedCount_;
}

std::size_t Scene::OutstandingCopies() const { return copyRoots_.size(); }

void Scene::ForgetFreedCopies() {
  freedCopies_.clear();
  freedSet_.clear();
}

// ---- entries ----

namespace {

Scene* g_scene = nullptr;  // the scene of the current host, for the entries
Scene& S() { return *g_scene; }

Document* ActiveDocumentEntry() { return S().ActiveDocument(); }

SceneObject* ActiveObjectEntry(Document* document) { return document != nullptr ? document->active : nullptr; }

std::int32_t TagElementCountEntry(SceneObject* object, std::int32_t type) {
  object = S().Checked(object, "TagElementCount");
  if (object == nullptr) return 0;
  if (type == 5604) return object->polygons;
  if (type == 5600) return object->points;
  return 0;
}

std::int32_t NgonCountEntry(SceneObject* object) {
  object = S().Checked(object, "NgonCount");
  return object != nullptr ? object->ngons : 0;
}

std::int32_t InfoFlagsEntry(SceneObject* object) {
  object = S().Checked(object, "ObjectInfoFlags");
  if (object == nullptr) return 0;
  switch (object->kind) {
    case ObjectKind::Null:
    case ObjectKind::Camera:
      return 0;
    default:
      return kInfoGeometry;
  }
}

bool IsInstanceEntry(SceneObject* object, std::int32_t type) {
  object = S().Checked(object, "IsInstanceOfType");
  if (object == nullptr) return false;
  // A polygon object is a point object too.
  if (object->kind == ObjectKind::Polygon && type == kTypePoint) return true;
  return TypeOf(object->kind) == type;
}

SceneObject* NextSiblingEntry(SceneObject* object) {
  object = S().Checked(object, "NextSibling");
  return object != nullptr ? object->next : nullptr;
}

SceneObject* ParentEntry(SceneObject* object) {
  object = S().Checked(object, "ParentOf");
  return object != nullptr ? object->parent : nullptr;
}

SceneObject* FirstChildEntry(SceneObject* object) {
  object = S().Checked(object, "FirstChild");
  return object != nullptr ? object->firstChild : nullptr;
}

bool RunCommandEntry(std::int32_t command, CommandRecord* record) { return S().RunCommand(command, record); }
SceneObject* ResultAtEntry(ResultListValue* list, std::int32_t index) { return S().ResultAt(list, index); }
void FreeResultListEntry(ResultListValue** field) { S().FreeResultList(field); }
void FreeObjectEntry(SceneObject* object) { S().FreeObject(object); }

}  // namespace

void InstallSceneEntries(Host& host) {
  g_scene = &host.SceneModel();
  Install<entry::ActiveDocument, &ActiveDocumentEntry>(host);
  Install<entry::ActiveObject, &ActiveObjectEntry>(host);
  Install<entry::TagElementCount, &TagElementCountEntry>(host);
  Install<entry::NgonCount, &NgonCountEntry>(host);
  Install<entry::ObjectInfoFlags, &InfoFlagsEntry>(host);
  Install<entry::IsInstanceOfType, &IsInstanceEntry>(host);
  Install<entry::FreeObject, &FreeObjectEntry>(host);
  Install<entry::NextSibling, &NextSiblingEntry>(host);
  Install<entry::ParentOf, &ParentEntry>(host);
  Install<entry::FirstChild, &FirstChildEntry>(host);
  Install<entry::RunModelingCommand, &RunCommandEntry>(host);
  Install<entry::ResultListAt, &ResultAtEntry>(host);
  Install<entry::FreeResultList, &FreeResultListEntry>(host);
}

}  // namespace testhost
