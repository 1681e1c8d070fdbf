#include "testhost/ownership.h"

#include <vector>

#include "testhost/fault_log.h"

namespace testhost {

void Ownership::HandOut(const void* object, std::string kind, Owner owner, std::string origin, std::string route) {
  if (object == nullptr) return;
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Holding& holding = objects_[object];
  holding = Holding{std::move(kind), std::move(origin), owner, std::move(route), ++serial_, false, ""};
}

bool Ownership::GiveBack(const void* object, const std::string& route) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = objects_.find(object);
  if (found == objects_.end()) {
    faults_.Fail(route + ": the plug-in gave back an object the host never handed out");
    return false;
  }
  Holding& holding = found->second;
  if (holding.released) {
    faults_.Fail(route + ": the plug-in released " + Name(object) + " twice (first through " + holding.releasedBy + ")");
    return false;
  }
  if (holding.owner == Owner::kHost) {
    faults_.Fail(route + ": the plug-in freed " + Name(object) + ", which belongs to the host");
    return false;
  }
  if (!holding.route.empty() && holding.route != route)
    faults_.Fail(route + ": the plug-in released " + Name(object) + " through the wrong route (expected " +
               holding.route + ")");
  Release(object, holding, route);
  return true;
}

void Ownership::Release(const void* object, Holding& holding, std::string by) {
  holding.released = true;
  holding.releasedBy = std::move(by);
  released_.emplace_back(object, holding.serial);
  if (released_.size() <= kReleasedRecords) return;
  const auto [oldest, serial] = released_.front();
  released_.pop_front();
  // The address may have been handed out again since: only that release goes.
  auto found = objects_.find(oldest);
  if (found != objects_.end() && found->second.serial == serial && found->second.released) objects_.erase(found);
}

void Ownership::Retire(const void* object) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = objects_.find(object);
  if (found == objects_.end() || found->second.released) return;
  Release(object, found->second, "the host");
}

void Ownership::Transfer(const void* object, Owner owner, const std::string& route) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = objects_.find(object);
  if (found == objects_.end()) return;
  found->second.owner = owner;
  found->second.route = route;
}

const Holding* Ownership::Find(const void* object) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = objects_.find(object);
  return found != objects_.end() ? &found->second : nullptr;
}

bool Ownership::IsLive(const void* object) const {
  const Holding* holding = Find(object);
  return holding != nullptr && !holding->released;
}

bool Ownership::IsPluginOwned(const void* object) const {
  const Holding* holding = Find(object);
  return holding != nullptr && !holding->released && holding->owner == Owner::kPlugin;
}

std::string Ownership::Name(const void* object) const {
  const Holding* holding = Find(object);
  if (holding == nullptr) return "an object the host does not know";
  return holding->kind + " #" + std::to_string(holding->serial) + " (" +
         (holding->owner == Owner::kHost ? "host's" : "plug-in's") + ", from " + holding->origin + ")";
}

void Ownership::CheckNothingHeld(const std::function<bool(const std::string&)>& routeOffered) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  for (const auto& [object, holding] : objects_) {
    if (holding.released || holding.owner != Owner::kPlugin) continue;
    if (!holding.route.empty() && !routeOffered(holding.route)) continue;
    faults_.Fail("the plug-in still holds " + Name(object) + " at unload" +
               (holding.route.empty() ? "" : " (given back through " + holding.route + ")"));
  }
}

std::size_t Ownership::LivePluginObjects(const std::string& kind) const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::size_t count = 0;
  for (const auto& [object, holding] : objects_)
    if (!holding.released && holding.owner == Owner::kPlugin && (kind.empty() || holding.kind == kind)) ++count;
  return count;
}

void Ownership::RetirePluginObjects() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  std::vector<const void*> left;
  for (const auto& [object, holding] : objects_)
    if (holding.owner == Owner::kPlugin && !holding.released) left.push_back(object);
  // Each release may forget an older record: the map is walked first.
  for (const void* object : left) Release(object, objects_.at(object), "the unload");
}

void Ownership::Clear() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  objects_.clear();
  released_.clear();
}

std::size_t Ownership::Records() const {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return objects_.size();
}

}  // namespace testhost
