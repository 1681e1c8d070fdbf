#include "testhost/paths.h"

#include "testhost/tables.h"

namespace testhost {

namespace {
constexpr std::size_t kReservedPaths = 1024;
}  // namespace

Paths::~Paths() {
  // Whatever a test left the plug-in holding goes with the host.
  for (const void* path : live_) delete static_cast<const PathValue*>(path);
}

PathValue* Paths::New(const std::string& text, Owner owner, const std::string& origin) {
  auto* path = new PathValue{text};
  live_.insert(path);
  objects_.HandOut(path, "path value", owner, origin, owner == Owner::kPlugin ? Describe(entry::PathDestroy) : "");
  return path;
}

bool Paths::Delete(PathValue* path, const std::string& route) {
  if (live_.count(path) == 0) {
    objects_.GiveBack(path, route);  // names it, or says the host never made it
    return false;
  }
  if (!objects_.GiveBack(path, route)) return false;
  live_.erase(path);
  destroyed_.emplace_back(path);
  if (destroyed_.size() > kReservedPaths) destroyed_.pop_front();
  return true;
}

std::string Paths::Text(const void* slot) const {
  const auto* path = *static_cast<PathValue* const*>(slot);
  return path != nullptr && IsLive(path) ? path->text : std::string();
}

}  // namespace testhost
