#pragma once
// The test host's scene: documents with an active object, objects in a hierarchy,
// polygon and point objects, objects without geometry, parametric generators, and
// the modeling commands that make editable copies and join hierarchies. A command's
// results sit in a result list the caller releases; each result becomes the
// caller's when it is taken out of the list.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "testhost/numbers.h"
#include "testhost/object_blocks.h"

namespace testhost {

class FaultLog;
class Ownership;

enum class ObjectKind { Polygon, Point, Null, Camera, Instance, Cube, Sphere, Plane };

struct Document;

// Freed objects a scene keeps reserved beyond the latest freed result.
inline constexpr std::size_t kReservedFreedObjects = 16384;

struct SceneObject {
  ObjectKind kind = ObjectKind::Null;
  std::string name;
  std::int32_t points = 0;
  std::int32_t polygons = 0;
  std::int32_t ngons = 0;
  std::int32_t segments = 1;  // generators: segments per edge / around
  std::int32_t infoFlags = 0;  // set from the kind when the object is made
  SceneObject* parent = nullptr;
  SceneObject* firstChild = nullptr;
  SceneObject* lastChild = nullptr;
  SceneObject* next = nullptr;
  SceneObject* previous = nullptr;
  Document* document = nullptr;  // null for objects a command made
  // Objects a command made: the result they belong to (the result itself for its
  // top object), the command, and whether the caller has taken the result out.
  bool copy = false;
  SceneObject* result = nullptr;
  std::int32_t madeBy = 0;
  bool handedOut = false;
  bool scratch = false;  // the host's own object beside a result
  bool removed = false;  // deleted from its document (Scene::Remove)
};

struct Document {
  SceneObject* firstRoot = nullptr;
  SceneObject* lastRoot = nullptr;
  SceneObject* active = nullptr;
};

struct ResultListValue {
  std::int32_t command = 0;
  std::vector<SceneObject*> nodes;
  const void* field = nullptr;  // the record's result field the host wrote the list into
};

// The layout of the record passed with a modeling command.
struct CommandRecord {
  Document* document;
  SceneObject* object;
  unsigned char reserved[24];
  ResultListValue* result;
};
static_assert(sizeof(CommandRecord) == modeling::kSize);

// What an object is made with (see Scene::AddObject).
struct ObjectShape {
  std::int32_t points = 0, polygons = 0, ngons = 0, segments = 1;
};

// The names scenes and scripts give the kinds ("polygon", "cube", ...): the kind a
// name stands for, false for none.
bool KindNamed(const std::string& name, ObjectKind& kind);

// What the generators produce when made editable, each count saturated at the
// Int32 range as a join saturates.
struct GeneratedCounts {
  std::int32_t points, polygons, ngons;
};
GeneratedCounts Generate(ObjectKind kind, std::int32_t segments);
std::int32_t TypeOf(ObjectKind kind);
bool IsGenerator(ObjectKind kind);
// The information flags an object of a kind starts with.
std::int32_t DefaultInfoFlags(ObjectKind kind);

class Scene {
 public:
  Scene(FaultLog& faults, Ownership& objects);
  ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  Document* NewDocument();
  void SetActiveDocument(Document* document) { activeDocument_ = document; }
  Document* ActiveDocument() const { return activeDocument_; }
  bool IsDocument(const void* document) const { return documentSet_.count(document) != 0; }

  SceneObject* AddPolygonObject(Document* document, std::int32_t points, std::int32_t polygons,
                                std::int32_t ngons = 0, SceneObject* parent = nullptr);
  SceneObject* AddPointObject(Document* document, std::int32_t points, SceneObject* parent = nullptr);
  SceneObject* AddGenerator(Document* document, ObjectKind kind, std::int32_t segments,
                            SceneObject* parent = nullptr);
  SceneObject* Add(Document* document, ObjectKind kind, SceneObject* parent = nullptr);
  // An object of any kind, made with what its kind takes from `shape`: counts for
  // polygon and point objects, segments for generators, nothing for the others.
  SceneObject* AddObject(Document* document, ObjectKind kind, const ObjectShape& shape, SceneObject* parent);
  void SetActive(Document* document, SceneObject* object) { document->active = object; }
  // Edits a user makes: deleting an object with everything below it (it is no
  // longer a scene object; a document whose active object was inside has none),
  // and moving an object with its subtree under another parent, or to the top
  // level with a null parent, as the last child. Moving an object below itself is
  // refused.
  void Remove(SceneObject* object);
  bool MoveUnder(SceneObject* object, SceneObject* parent);

  // --- how the host answers ---
  // How a command treats a result list still in the record: replace it (the list
  // is released by the host) or keep it and append, leaving the first result first.
  enum class ListPolicy { kReplace, kAppend };
  void SetListPolicy(ListPolicy policy) { listPolicy_ = policy; }
  void FailCommand(std::int32_t command) { failing_.insert(command); }
  void HealCommand(std::int32_t command) { failing_.erase(command); }
  void EmptyResult(std::int32_t command) { empty_.insert(command); }
  // Results come out beside objects of the host's own, as from a scratch document:
  // under a parent, with a later sibling holding geometry. A walk that leaves a
  // result's subtree meets them.
  void SetResultNeighbours(bool on) { neighbours_ = on; }
  // Checking every object pointer the plug-in passes is what tests want; benchmarks
  // turn it off.
  void SetValidation(bool on) { validate_ = on; }
  bool Validating() const { return validate_; }
  // For benchmarks only (Host::SetBareAnswers): command results and lists are not
  // registered with the ownership registry, and freed results go at once instead
  // of staying reserved to name a late use.
  void SetBare(bool on) { bare_ = on; }

  // --- what the host saw ---
  std::size_t OutstandingCopies() const { return results_.size(); }  // results not freed
  std::size_t LiveResultLists() const { return lists_.size(); }
  std::size_t FreedCopies() const { return freedCount_; }
  std::size_t CommandsRun() const { return commandsRun_; }
  // The first result of the last command 245: the only object command 246 takes.
  const SceneObject* LastEditable() const { return lastEditable_; }
  void ForgetFreedCopies();  // releases the memory of freed copies (benchmarks)
  std::size_t ReservedFreedObjects() const { return freedKept_; }

  // --- the host's side of the scene entries ---
  bool IsSceneObject(const void* object) const;
  bool IsLive(const void* object) const;
  bool WasFreed(const void* object) const;
  ResultListValue* List(const void* list);  // a live result list, or null
  // "scene object 'Robot'", or what the ownership registry calls a command's object.
  std::string Describe(const SceneObject* object) const;

  // Runs a command on the record as the host does (the entry checks the record).
  bool RunCommand(std::int32_t command, CommandRecord* record);
  // Entry `index` of a list; a result taken out becomes the caller's.
  SceneObject* ResultAt(ResultListValue* list, std::int32_t index);
  // The caller releases a list; results it never took out go with it.
  void FreeResultList(ResultListValue** field);
  // The caller frees a result it took out, with the objects below it. False (and a
  // failure) when it may not.
  bool FreeObject(SceneObject* object);
  // After each call into the plug-in: results and lists are private to the call
  // that obtained them.
  void AfterPluginCall();

 private:
  SceneObject* NewObject(Document* document, ObjectKind kind, SceneObject* parent);
  void Link(Document* document, SceneObject* object, SceneObject* parent);
  void Unlink(SceneObject* object);
  void BeginCopies(std::size_t firstBlock);
  SceneObject* NewCopy(ObjectKind kind, SceneObject* result);
  void EndCopies();
  SceneObject* CopyTree(const SceneObject* source);
  SceneObject* Join(const SceneObject* top);
  void AddNeighbours(SceneObject* result);
  void Dispose(SceneObject* result);
  void Reserve(SceneObject* result);
  void ReleaseList(ResultListValue* list);

  FaultLog& faults_;
  Ownership& ownership_;
  std::vector<std::unique_ptr<Document>> documents_;
  std::unordered_set<const void*> documentSet_;
  // Objects in blocks of growing size, filled in turn: the documents' objects, and
  // the objects commands make, the blocks of a result (its copies and the host's
  // objects beside it) belonging to the result.
  struct Filling {
    SceneObject* first = nullptr;  // the block being filled
    std::size_t used = 0, capacity = 0;
    std::size_t next = 64;  // the size of the next block: each twice the last, up to 64 Ki objects
    SceneObject* owner = nullptr;
    // The next object to fill, from a new block of `blocks` when this one is full.
    SceneObject* Next(ObjectBlocks& blocks);
  };
  ObjectBlocks sceneBlocks_;
  Filling sceneFilling_;
  ObjectBlocks copyBlocks_;
  Filling copyFilling_;
  // The sums of the last editable copy, taken as it was made: command 246 joins it.
  struct Sums {
    const SceneObject* top = nullptr;
    std::int64_t points = 0, polygons = 0, ngons = 0;
  } editableSums_;
  std::set<SceneObject*> results_;  // results not freed
  // Freed results, kept so that a late use is named: the latest, and more while
  // they hold at most kReservedFreedObjects.
  std::deque<SceneObject*> reserved_;
  std::size_t freedKept_ = 0;
  std::map<const void*, std::unique_ptr<ResultListValue>> lists_;
  std::set<const void*> reportedKept_;
  const SceneObject* lastEditable_ = nullptr;
  Document* activeDocument_ = nullptr;
  ListPolicy listPolicy_ = ListPolicy::kReplace;
  std::set<std::int32_t> failing_;
  std::set<std::int32_t> empty_;
  bool neighbours_ = false;
  std::size_t freedCount_ = 0;
  std::size_t commandsRun_ = 0;
  bool validate_ = true;
  bool bare_ = false;
};

}  // namespace testhost
