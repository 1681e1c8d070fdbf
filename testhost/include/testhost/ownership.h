#pragma once
// Who owns each object the host hands out. Every object is registered with its
// kind, its origin and its owner; the plug-in may give back only what it owns, and
// only once, and must hold nothing of its own when it is unloaded. Released
// records stay to name a second release or a late use, the latest kReleasedRecords
// of them: a long session keeps a bounded registry.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace testhost {

class FaultLog;

enum class Owner { kHost, kPlugin };

// How many released records the registry keeps; older ones are forgotten.
inline constexpr std::size_t kReleasedRecords = 8192;

struct Holding {
  std::string kind;    // "string", "error prototype", "path value", "bitmap", ...
  std::string origin;  // where it was handed out, e.g. "String.Alloc at frameworkstring.cpp:40"
  Owner owner = Owner::kHost;
  std::string route;   // how the plug-in gives it back: an entry or method name
  int serial = 0;
  bool released = false;
  std::string releasedBy;
};

class Ownership {
 public:
  explicit Ownership(FaultLog& faults) : faults_(faults) {}

  // Registers an object the host hands out (or keeps for itself). An address that
  // was released before may be handed out again.
  void HandOut(const void* object, std::string kind, Owner owner, std::string origin, std::string route = "");
  // The plug-in gives `object` back through `route`. Fails the test and answers false
  // (so that nothing is destroyed) when the host owns it, when it was given back
  // before, or when the host never handed it out.
  bool GiveBack(const void* object, const std::string& route);
  // The host ends an object's life itself (its own objects, or at teardown).
  void Retire(const void* object);
  // Hands an object over to the plug-in (a host object the plug-in now owns).
  void Transfer(const void* object, Owner owner, const std::string& route);

  const Holding* Find(const void* object) const;
  bool IsLive(const void* object) const;
  bool IsPluginOwned(const void* object) const;
  // "string #12 (plug-in's, from String.Alloc at frameworkstring.cpp:40)"
  std::string Name(const void* object) const;

  // Fails the test for every object the plug-in still owns, except those whose route
  // back the host did not offer (`routeOffered` answers false), which the plug-in
  // could not give back.
  void CheckNothingHeld(const std::function<bool(const std::string& route)>& routeOffered);
  std::size_t LivePluginObjects(const std::string& kind = "") const;
  // After unload: what the plug-in left is reported once, then forgotten.
  void RetirePluginObjects();
  void Clear();
  // Records kept, live and released.
  std::size_t Records() const;

 private:
  // Marks a record released and forgets the oldest released one past the bound.
  void Release(const void* object, Holding& holding, std::string by);

  FaultLog& faults_;
  mutable std::recursive_mutex mutex_;
  std::map<const void*, Holding> objects_;
  std::deque<std::pair<const void*, int>> released_;  // object and serial, oldest first
  int serial_ = 0;
};

}  // namespace testhost
