#include "testhost/scene.h"

#include <algorithm>
#include <cstdint>

#include "testhost/fault_log.h"
#include "testhost/ownership.h"
#include "testhost/tables.h"

namespace testhost {

namespace {

// Counts are Int32 in the host; a join beyond that range saturates.
std::int32_t Clamp(std::int64_t value) { return static_cast<std::int32_t>(value > INT32_MAX ? INT32_MAX : value); }

const char* ResultKind(std::int32_t command) {
  return command == kCommandMakeEditable ? "editable copy" : "merged object";
}

std::string CommandOrigin(std::int32_t command) {
  return Describe(entry::RunModelingCommand) + " command " + std::to_string(command);
}

void AppendChild(SceneObject* parent, SceneObject* child) {
  child->parent = parent;
  child->previous = parent->lastChild;
  if (parent->lastChild != nullptr) parent->lastChild->next = child;
  else parent->firstChild = child;
  parent->lastChild = child;
}

}  // namespace

GeneratedCounts Generate(ObjectKind kind, std::int32_t segments) {
  // Counted in 64 bits and saturated like a join. Beyond 2^21 segments every count
  // of every kind is past the Int32 range, so the products stay within 64 bits.
  const std::int64_t s = segments < 1 ? 1 : segments > (1 << 21) ? (1 << 21) : segments;
  switch (kind) {
    case ObjectKind::Cube:  // a closed cube of s x s quads per face
      return {Clamp(6 * s * s + 2), Clamp(6 * s * s), 0};
    case ObjectKind::Sphere: {  // s segments around, s / 2 rings, triangles at the poles
      const std::int64_t around = s < 3 ? 3 : s;
      const std::int64_t rings = around / 2 < 2 ? 2 : around / 2;
      return {Clamp(around * (rings - 1) + 2), Clamp(around * rings), 0};
    }
    case ObjectKind::Plane:
      return {Clamp((s + 1) * (s + 1)), Clamp(s * s), 0};
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

// Every kind carries bits besides 0x80, so that only a test of that bit tells
// geometry apart; nulls and cameras lack it.
std::int32_t DefaultInfoFlags(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Null:
    case ObjectKind::Camera:
      return kInfoHierarchy;
    case ObjectKind::Cube:
    case ObjectKind::Sphere:
    case ObjectKind::Plane:
      return kInfoGeometry | kInfoGenerator | kInfoHierarchy;
    default:
      return kInfoGeometry | kInfoHierarchy;
  }
}

Scene::Scene(FaultLog& faults, Ownership& objects) : faults_(faults), ownership_(objects) {}

Scene::~Scene() = default;

Document* Scene::NewDocument() {
  documents_.push_back(std::make_unique<Document>());
  documentSet_.insert(documents_.back().get());
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

void Scene::Unlink(SceneObject* object) {
  Document* document = object->document;
  SceneObject*& first = object->parent != nullptr ? object->parent->firstChild : document->firstRoot;
  SceneObject*& last = object->parent != nullptr ? object->parent->lastChild : document->lastRoot;
  if (object->previous != nullptr) object->previous->next = object->next;
  else first = object->next;
  if (object->next != nullptr) object->next->previous = object->previous;
  else last = object->previous;
  object->parent = object->previous = object->next = nullptr;
}

void Scene::Remove(SceneObject* object) {
  Document* document = object->document;
  Unlink(object);
  std::vector<SceneObject*> pending{object};
  while (!pending.empty()) {
    SceneObject* gone = pending.back();
    pending.pop_back();
    if (document->active == gone) document->active = nullptr;
    gone->removed = true;
    for (SceneObject* child = gone->firstChild; child != nullptr; child = child->next) pending.push_back(child);
  }
}

bool Scene::MoveUnder(SceneObject* object, SceneObject* parent) {
  for (const SceneObject* above = parent; above != nullptr; above = above->parent)
    if (above == object) return false;
  Unlink(object);
  Link(object->document, object, parent);
  return true;
}

SceneObject* Scene::Filling::Next(ObjectBlocks& blocks) {
  if (used == capacity) {
    if (first != nullptr) blocks.SetUsed(first, used);
    capacity = next;
    next = std::min<std::size_t>(next * 2, 65536);
    first = blocks.Add(capacity, owner);
    if (owner == nullptr) owner = first;
    used = 0;
  }
  SceneObject* object = first + used++;
  *object = SceneObject{};
  return object;
}

SceneObject* Scene::NewObject(Document* document, ObjectKind kind, SceneObject* parent) {
  SceneObject* object = sceneFilling_.Next(sceneBlocks_);
  sceneBlocks_.SetUsed(sceneFilling_.first, sceneFilling_.used);  // a scene object is one at once
  object->kind = kind;
  object->infoFlags = DefaultInfoFlags(kind);
  object->document = document;
  Link(document, object, parent);
  return object;
}

// A slot of a block not handed out yet has no document.
bool Scene::IsSceneObject(const void* object) const {
  const SceneObject* found = sceneBlocks_.Find(object).object;
  return found != nullptr && found->document != nullptr && !found->removed;
}

bool Scene::IsLive(const void* object) const {
  if (IsSceneObject(object)) return true;
  const ObjectBlocks::Found copy = copyBlocks_.Find(object);
  return copy.object != nullptr && !copy.retired;
}

bool Scene::WasFreed(const void* object) const {
  const ObjectBlocks::Found copy = copyBlocks_.Find(object);
  return copy.object != nullptr && copy.retired;
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

SceneObject* Scene::AddObject(Document* document, ObjectKind kind, const ObjectShape& shape, SceneObject* parent) {
  switch (kind) {
    case ObjectKind::Polygon: return AddPolygonObject(document, shape.points, shape.polygons, shape.ngons, parent);
    case ObjectKind::Point: return AddPointObject(document, shape.points, parent);
    case ObjectKind::Cube:
    case ObjectKind::Sphere:
    case ObjectKind::Plane: return AddGenerator(document, kind, shape.segments, parent);
    default: return Add(document, kind, parent);
  }
}

bool KindNamed(const std::string& name, ObjectKind& kind) {
  static const std::map<std::string, ObjectKind> kNames = {
      {"polygon", ObjectKind::Polygon}, {"point", ObjectKind::Point},   {"null", ObjectKind::Null},
      {"camera", ObjectKind::Camera},   {"instance", ObjectKind::Instance}, {"cube", ObjectKind::Cube},
      {"sphere", ObjectKind::Sphere},   {"plane", ObjectKind::Plane}};
  auto found = kNames.find(name);
  if (found == kNames.end()) return false;
  kind = found->second;
  return true;
}

ResultListValue* Scene::List(const void* list) {
  auto found = lists_.find(list);
  return found != lists_.end() ? found->second.get() : nullptr;
}

std::string Scene::Describe(const SceneObject* object) const {
  if (IsSceneObject(object))
    return object->name.empty() ? "an object of the scene" : "scene object '" + object->name + "'";
  if (!object->copy) return "an object the host does not know";
  const SceneObject* result = object->result;
  const std::string named = result->handedOut ? ownership_.Name(result) : "a command result not taken out";
  if (object->scratch) return "an object of the host's beside " + named;
  return object == result ? named : "an object below " + named;
}

// ---- command results ----

// A command's objects: the first is the result, and the blocks they fill are the
// result's.
void Scene::BeginCopies(std::size_t firstBlock) {
  copyFilling_ = Filling{};
  copyFilling_.next = firstBlock;
}

SceneObject* Scene::NewCopy(ObjectKind kind, SceneObject* result) {
  SceneObject* copy = copyFilling_.Next(copyBlocks_);
  copy->kind = kind;
  copy->infoFlags = DefaultInfoFlags(kind);
  copy->copy = true;
  copy->result = result != nullptr ? result : copy;
  return copy;
}

void Scene::EndCopies() {
  if (copyFilling_.first != nullptr) copyBlocks_.SetUsed(copyFilling_.first, copyFilling_.used);
  copyFilling_ = Filling{};
}

// The editable form of a subtree: generators become polygon objects, everything
// else is copied as it is. Iterative, so that hierarchies of any depth can be copied.
SceneObject* Scene::CopyTree(const SceneObject* source) {
  SceneObject* root = nullptr;
  auto copyOne = [&](const SceneObject* from, SceneObject* under) {
    const bool generated = IsGenerator(from->kind);
    SceneObject* copy = NewCopy(generated ? ObjectKind::Polygon : from->kind, root);
    if (generated) {
      const GeneratedCounts counts = Generate(from->kind, from->segments);
      copy->points = counts.points;
      copy->polygons = counts.polygons;
      copy->ngons = counts.ngons;
    } else {
      copy->points = from->points;
      copy->polygons = from->polygons;
      copy->ngons = from->ngons;
      copy->infoFlags = from->infoFlags;
    }
    if (!from->name.empty()) copy->name = from->name;
    if (copy->kind == ObjectKind::Polygon || copy->kind == ObjectKind::Point) {
      editableSums_.points += copy->points;
      editableSums_.polygons += copy->polygons;
      editableSums_.ngons += copy->ngons;
    }
    if (under != nullptr) AppendChild(under, copy);
    return copy;
  };
  editableSums_ = Sums{};
  root = copyOne(source, nullptr);
  editableSums_.top = root;
  std::vector<std::pair<const SceneObject*, SceneObject*>> pending{{source, root}};
  while (!pending.empty()) {
    const auto [from, to] = pending.back();
    pending.pop_back();
    for (const SceneObject* child = from->firstChild; child != nullptr; child = child->next)
      pending.emplace_back(child, copyOne(child, to));
  }
  return root;
}

// One polygon object joined from `top` and the objects below it, as they are:
// polygon and point objects bring their counts, anything else brings nothing.
SceneObject* Scene::Join(const SceneObject* top) {
  std::int64_t points = 0, polygons = 0, ngons = 0;
  std::vector<const SceneObject*> pending{top};
  if (top == editableSums_.top) {  // nothing changes a copy: its sums are those it was made with
    points = editableSums_.points;
    polygons = editableSums_.polygons;
    ngons = editableSums_.ngons;
    pending.clear();
  }
  while (!pending.empty()) {
    const SceneObject* current = pending.back();
    pending.pop_back();
    if (current->kind == ObjectKind::Polygon || current->kind == ObjectKind::Point) {
      points += current->points;
      polygons += current->polygons;
      ngons += current->ngons;
    }
    for (const SceneObject* child = current->firstChild; child != nullptr; child = child->next)
      pending.push_back(child);
  }
  SceneObject* joined = NewCopy(ObjectKind::Polygon, nullptr);
  joined->points = Clamp(points);
  joined->polygons = Clamp(polygons);
  joined->ngons = Clamp(ngons);
  return joined;
}

void Scene::AddNeighbours(SceneObject* result) {
  SceneObject* parent = NewCopy(ObjectKind::Null, result);
  parent->scratch = true;
  parent->name = "scratch";
  SceneObject* sibling = NewCopy(ObjectKind::Polygon, result);
  sibling->scratch = true;
  sibling->name = "scratch neighbour";
  sibling->points = 1000;
  sibling->polygons = 1000;
  sibling->ngons = 10;
  AppendChild(parent, result);
  AppendChild(parent, sibling);
}

bool Scene::RunCommand(std::int32_t command, CommandRecord* record) {
  ++commandsRun_;
  if (record == nullptr || !IsLive(record->object)) return false;
  if (failing_.count(command) != 0) return false;
  if (command != kCommandMakeEditable && command != kCommandJoin) return false;

  ResultListValue* list = List(record->result);
  if (list != nullptr && listPolicy_ == ListPolicy::kReplace) {
    ReleaseList(list);  // the host releases the list it replaces
    list = nullptr;
  }
  if (list == nullptr) {
    auto fresh = std::make_unique<ResultListValue>();
    list = fresh.get();
    list->command = command;
    list->field = &record->result;
    lists_[list] = std::move(fresh);
    if (!bare_)
      ownership_.HandOut(list, "result list", Owner::kPlugin, CommandOrigin(command),
                         testhost::Describe(entry::FreeResultList));
  }
  record->result = list;
  if (empty_.count(command) != 0) return true;

  BeginCopies(command == kCommandMakeEditable ? 64 : 4);
  SceneObject* result = command == kCommandMakeEditable ? CopyTree(record->object) : Join(record->object);
  result->madeBy = command;
  results_.insert(result);
  if (neighbours_) AddNeighbours(result);
  EndCopies();
  if (command == kCommandMakeEditable) lastEditable_ = result;
  list->nodes.push_back(result);
  return true;
}

SceneObject* Scene::ResultAt(ResultListValue* list, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list->nodes.size()) return nullptr;
  SceneObject* result = list->nodes[static_cast<std::size_t>(index)];
  if (IsLive(result) && !result->handedOut) {  // a freed result may be gone already
    result->handedOut = true;
    if (!bare_)
      ownership_.HandOut(result, ResultKind(result->madeBy), Owner::kPlugin, CommandOrigin(result->madeBy),
                         testhost::Describe(entry::FreeObject));
  }
  return result;
}

// A list goes; the results in it that nobody took out are the host's and go too.
void Scene::ReleaseList(ResultListValue* list) {
  for (SceneObject* result : list->nodes)
    if (IsLive(result) && !result->handedOut) Dispose(result);
  if (!bare_) ownership_.Retire(list);
  lists_.erase(list);
}

void Scene::FreeResultList(ResultListValue** field) {
  ResultListValue* list = List(*field);
  if (list == nullptr || (!bare_ && !ownership_.GiveBack(list, testhost::Describe(entry::FreeResultList)))) return;
  ReleaseList(list);
  *field = nullptr;
}

bool Scene::FreeObject(SceneObject* object) {
  if (!bare_ && !ownership_.GiveBack(object, testhost::Describe(entry::FreeObject))) return false;
  Dispose(object);
  ++freedCount_;
  return true;
}

// Ends a result with the objects below it and the host's objects beside it: its
// block. Ended objects stay reserved, so that a late use is caught.
void Scene::Dispose(SceneObject* result) {
  copyBlocks_.Retire(result);
  results_.erase(result);
  if (lastEditable_ == result) lastEditable_ = nullptr;
  if (editableSums_.top == result) editableSums_ = Sums{};
  if (bare_) {
    copyBlocks_.Remove(result);
    return;
  }
  Reserve(result);
}

// A result's objects are kept or forgotten together, so that a kept object's links
// lead to kept objects only.
void Scene::Reserve(SceneObject* result) {
  freedKept_ += copyBlocks_.Size(result);
  reserved_.push_back(result);
  while (reserved_.size() > 1 && freedKept_ > kReservedFreedObjects) {
    freedKept_ -= copyBlocks_.Size(reserved_.front());
    copyBlocks_.Remove(reserved_.front());
    reserved_.pop_front();
  }
}

void Scene::ForgetFreedCopies() {
  for (SceneObject* result : reserved_) copyBlocks_.Remove(result);
  reserved_.clear();
  freedKept_ = 0;
}

void Scene::AfterPluginCall() {
  auto report = [this](const void* object) {
    if (!reportedKept_.insert(object).second) return;
    faults_.Fail("the plug-in kept " + ownership_.Name(object) + " past the call that obtained it");
  };
  for (const auto& [list, value] : lists_) report(list);
  for (const SceneObject* result : results_)
    if (result->handedOut) report(result);
}

}  // namespace testhost
