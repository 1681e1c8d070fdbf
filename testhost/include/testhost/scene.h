#pragma once
// The test host's scene: documents with an active object, objects in a hierarchy,
// polygon and point objects, objects without geometry, parametric generators, and
// the modeling commands that make editable copies and join hierarchies.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testhost/numbers.h"

namespace testhost {

class Host;

enum class ObjectKind { Polygon, Point, Null, Camera, Instance, Cube, Sphere, Plane };

struct Document;

struct SceneObject {
  ObjectKind kind = ObjectKind::Null;
  std::string name;
  std::int32_t points = 0;
  std::int32_t polygons = 0;
  std::int32_t ngons = 0;
  std::int32_t segments = 1;  // generators: segments per edge / around
  SceneObject* parent = nullptr;
  SceneObject* firstChild = nullptr;
  SceneObject* lastChild = nullptr;
  SceneObject* next = nullptr;
  SceneObject* previous = nullptr;
  Document* document = nullptr;  // null for copies a command made
  bool copy = false;
  bool freed = false;
};

struct Document {
  SceneObject* firstRoot = nullptr;
  SceneObject* lastRoot = nullptr;
  SceneObject* active = nullptr;
};

struct ResultListValue {
  std::vector<SceneObject*> nodes;
};

// The layout of the record passed with a modeling command.
struct CommandRecord {
  Document* document;
  SceneObject* object;
  unsigned char reserved[24];
  ResultListValue* result;
};
static_assert(sizeof(CommandRecord) == 48);

// What the generators produce when made editable.
struct GeneratedCounts {
  std::int32_t points, polygons, ngons;
};
GeneratedCounts Generate(ObjectKind kind, std::int32_t segments);
std::int32_t TypeOf(ObjectKind kind);
bool IsGenerator(ObjectKind kind);

class Scene {
 public:
  explicit Scene(Host& host) : host_(host) {}

  Document* NewDocument();
  void SetActiveDocument(Document* document) { activeDocument_ = document; }
  Document* ActiveDocument() const { return activeDocument_; }

  SceneObject* AddPolygonObject(Document* document, std::int32_t points, std::int32_t polygons,
                                std::int32_t ngons = 0, SceneObject* parent = nullptr);
  SceneObject* AddPointObject(Document* document, std::int32_t points, SceneObject* parent = nullptr);
  SceneObject* AddGenerator(Document* document, ObjectKind kind, std::int32_t segments,
                            SceneObject* parent = nullptr);
  SceneObject* Add(Document* document, ObjectKind kind, SceneObject* parent = nullptr);
  void SetActive(Document* document, SceneObject* object) { document->active = object; }

  // How a command treats a result list still in the record: replace it (the list
  // is released by the host) or keep it and append, leaving the first result first.
  enum class ListPolicy { kReplace, kAppend };
  void SetListPolicy(ListPolicy policy) { listPolicy_ = policy; }
  void FailCommand(std::int32_t command) { failing_.insert(command); }
  void HealCommand(std::int32_t command) { failing_.erase(command); }
  void EmptyResult(std::int32_t command) { empty_.insert(command); }

  // Copies the plug-in still holds, result lists not released, and objects freed.
  std::size_t OutstandingCopies() const;
  std::size_t LiveResultLists() const { return lists_.size(); }
  std::size_t FreedCopies() const { return freedCount_; }
  std::size_t CommandsRun() const { return commandsRun_; }
  void ForgetFreedCopies();  // releases the memory of freed copies (benchmarks)
  // Checking every object pointer the plug-in passes is what tests want; benchmarks
  // turn it off.
  void SetValidation(bool on) { validate_ = on; }

  // --- the host entries ---
  bool IsLive(const SceneObject* object) const;
  SceneObject* Checked(void* object, const char* operation);
  bool RunCommand(std::int32_t command, CommandRecord* record);
  SceneObject* ResultAt(ResultListValue* list, std::int32_t index);
  void FreeResultList(ResultListValue** field);
  void FreeObject(SceneObject* object);

 private:
  SceneObject* NewObject(Document* document, ObjectKind kind, SceneObject* parent);
  void Link(Document* document, SceneObject* object, SceneObject* parent);
  SceneObject* CopyTree(const SceneObject* source, SceneObject* parent);
  SceneObject* NewCopy(ObjectKind kind);

  Host& host_;
  std::vector<std::unique_ptr<Document>> documents_;
  std::vector<std::unique_ptr<SceneObject>> objects_;
  std::set<const SceneObject*> sceneObjects_;
  std::map<const SceneObject*, std::unique_ptr<SceneObject>> copies_;
  std::set<const SceneObject*> copyRoots_;
  std::vector<std::unique_ptr<SceneObject>> freedCopies_;
  std::set<const SceneObject*> freedSet_;
  std::map<const ResultListValue*, std::unique_ptr<ResultListValue>> lists_;
  Document* activeDocument_ = nullptr;
  ListPolicy listPolicy_ = ListPolicy::kReplace;
  std::set<std::int32_t> failing_;
  std::set<std::int32_t> empty_;
  std::size_t freedCount_ = 0;
  std::size_t commandsRun_ = 0;
  bool validate_ = true;
};

void InstallSceneEntries(Host& host);

}  // namespace testhost
