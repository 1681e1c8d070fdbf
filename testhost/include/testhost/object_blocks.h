#pragma once
// Scene objects kept in blocks, each one allocation: a command result of a million
// copies takes a few dozen allocations, and whether a pointer the plug-in passes is
// one of the objects is found from the block it falls in (the block found last, or
// a search by halves among a few dozen), not in a set of every object. A pointer
// that is no object's start (a garbage value, an object's inside) is none.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace testhost {

struct SceneObject;

class ObjectBlocks {
 public:
  ObjectBlocks();
  ~ObjectBlocks();
  ObjectBlocks(const ObjectBlocks&) = delete;
  ObjectBlocks& operator=(const ObjectBlocks&) = delete;

  // Room for `capacity` objects (at least one), in a block that belongs to `owner`
  // (null: to its own first object). The objects' fields are left as they are
  // (the memory of blocks gone is reused): the caller sets each object it uses,
  // and says how many with SetUsed; until then the block holds none.
  SceneObject* Add(std::size_t capacity, const SceneObject* owner = nullptr);
  void SetUsed(const SceneObject* first, std::size_t used);
  // The object `pointer` points at, or null; `retired` whether its block is.
  struct Found {
    SceneObject* object = nullptr;
    bool retired = false;
  };
  Found Find(const void* pointer) const;
  // The objects of the blocks of `owner`.
  std::size_t Size(const SceneObject* owner) const;
  // The objects of the blocks of `owner` are no longer in use, but are kept, so
  // that a late use of one can be named.
  void Retire(const SceneObject* owner);
  // The blocks of `owner` go. Their memory is kept for later blocks, up to the
  // size of the largest owner gone, so that a session of recounts reuses it.
  void Remove(const SceneObject* owner);

 private:
  struct Block {
    std::unique_ptr<SceneObject[]> objects;
    std::size_t used = 0, capacity = 0;
    std::uintptr_t owner = 0;
    bool retired = false;
  };
  // By the address of the first object, in order.
  std::vector<std::pair<std::uintptr_t, Block>> blocks_;
  mutable std::atomic<std::size_t> hint_{0};  // the block found last
  std::vector<Block> spares_;
  std::size_t spareObjects_ = 0, spareLimit_ = 0;
};

}  // namespace testhost
