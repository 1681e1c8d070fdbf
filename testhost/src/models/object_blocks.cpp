#include "testhost/object_blocks.h"

#include <algorithm>

#include "testhost/scene.h"

namespace testhost {

namespace {

std::uintptr_t AddressOf(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

}  // namespace

ObjectBlocks::ObjectBlocks() = default;
ObjectBlocks::~ObjectBlocks() = default;

SceneObject* ObjectBlocks::Add(std::size_t capacity, const SceneObject* owner) {
  Block block;
  auto spare = spares_.end();  // the smallest that is large enough
  for (auto kept = spares_.begin(); kept != spares_.end(); ++kept)
    if (kept->capacity >= capacity && (spare == spares_.end() || kept->capacity < spare->capacity)) spare = kept;
  if (spare != spares_.end()) {
    block = std::move(*spare);
    spareObjects_ -= block.capacity;
    spares_.erase(spare);
  } else {
    block.objects = std::make_unique<SceneObject[]>(capacity);
    block.capacity = capacity;
  }
  block.used = 0;
  block.retired = false;
  SceneObject* first = block.objects.get();
  block.owner = AddressOf(owner != nullptr ? owner : first);
  auto at = std::lower_bound(blocks_.begin(), blocks_.end(), AddressOf(first),
                             [](const auto& entry, std::uintptr_t address) { return entry.first < address; });
  blocks_.emplace(at, AddressOf(first), std::move(block));
  return first;
}

void ObjectBlocks::SetUsed(const SceneObject* first, std::size_t used) {
  auto at = std::lower_bound(blocks_.begin(), blocks_.end(), AddressOf(first),
                             [](const auto& entry, std::uintptr_t address) { return entry.first < address; });
  if (at != blocks_.end() && at->first == AddressOf(first)) at->second.used = std::min(used, at->second.capacity);
}

ObjectBlocks::Found ObjectBlocks::Find(const void* pointer) const {
  const std::uintptr_t address = AddressOf(pointer);
  auto in = [address](const std::pair<std::uintptr_t, Block>& entry) {
    return address >= entry.first && address - entry.first < entry.second.used * sizeof(SceneObject);
  };
  std::size_t index = hint_.load(std::memory_order_relaxed);
  if (index >= blocks_.size() || !in(blocks_[index])) {
    auto after = std::upper_bound(blocks_.begin(), blocks_.end(), address,
                                  [](std::uintptr_t value, const auto& entry) { return value < entry.first; });
    if (after == blocks_.begin() || !in(*std::prev(after))) return {};
    index = static_cast<std::size_t>(std::prev(after) - blocks_.begin());
    hint_.store(index, std::memory_order_relaxed);
  }
  const auto& [start, block] = blocks_[index];
  const std::uintptr_t offset = address - start;
  if (offset % sizeof(SceneObject) != 0) return {};
  return {block.objects.get() + offset / sizeof(SceneObject), block.retired};
}

std::size_t ObjectBlocks::Size(const SceneObject* owner) const {
  std::size_t size = 0;
  for (const auto& [start, block] : blocks_)
    if (block.owner == AddressOf(owner)) size += block.used;
  return size;
}

void ObjectBlocks::Retire(const SceneObject* owner) {
  for (auto& [start, block] : blocks_)
    if (block.owner == AddressOf(owner)) block.retired = true;
}

void ObjectBlocks::Remove(const SceneObject* owner) {
  std::size_t gone = 0;
  for (auto at = blocks_.begin(); at != blocks_.end();) {
    if (at->second.owner != AddressOf(owner)) {
      ++at;
      continue;
    }
    gone += at->second.capacity;
    spareObjects_ += at->second.capacity;
    spares_.push_back(std::move(at->second));
    at = blocks_.erase(at);
  }
  spareLimit_ = std::max(spareLimit_, gone);
  while (spareObjects_ > spareLimit_) {  // the smallest go first
    auto smallest = std::min_element(spares_.begin(), spares_.end(),
                                     [](const Block& a, const Block& b) { return a.capacity < b.capacity; });
    spareObjects_ -= smallest->capacity;
    spares_.erase(smallest);
  }
}

}  // namespace testhost
