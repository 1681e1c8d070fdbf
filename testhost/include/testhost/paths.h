#pragma once
// Host path values: the objects a path slot points to. The host makes them for
// the plug-in (PathInit, the application folder) and for itself (the plug-in's
// own file path); the plug-in gives its own back through PathDestroy.
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testhost/ownership.h"

namespace testhost {

struct PathValue {
  std::string text;
};

class Paths {
 public:
  explicit Paths(Ownership& objects) : objects_(objects) {}
  ~Paths();
  Paths(const Paths&) = delete;
  Paths& operator=(const Paths&) = delete;

  PathValue* New(const std::string& text, Owner owner, const std::string& origin);
  bool Delete(PathValue* path, const std::string& route);
  bool IsLive(const void* path) const { return live_.count(path) != 0; }
  std::size_t Live() const { return live_.size(); }
  std::string Text(const void* slot) const;  // text of the path in a slot

  // A host whose PathDestroy leaves a reference of its own in the slot, which the
  // holder then drops by the framework's counting convention.
  void LeaveReferencesInDestroyed(bool on) { references_ = on; }
  bool LeavesReferencesInDestroyed() const { return references_; }

 private:
  Ownership& objects_;
  std::set<const void*> live_;
  // The latest destroyed paths, kept so that a stale slot does not name a new path.
  std::deque<std::unique_ptr<PathValue>> destroyed_;
  bool references_ = false;
};

}  // namespace testhost
