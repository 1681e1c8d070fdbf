// t_HostOS_Bo: what an object holds: its point, polygon and n-gon counts and its
// information flags.
#include "object_arguments.h"
#include "scene_tables.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"

namespace testhost {
namespace {

std::int32_t TagElementCount(const void* object, std::int32_t type) {
  Contract contract;
  const SceneObject* counted = LiveSceneObject(contract, object, "object");
  if (type != kTagPoints && type != kTagPolygons) {
    contract.Fail("type", "must be 5600 or 5604, was " + std::to_string(type));
    return 0;
  }
  if (counted == nullptr) return 0;
  return type == kTagPolygons ? counted->polygons : counted->points;
}

std::int32_t NgonCount(const void* object) {
  Contract contract;
  const SceneObject* counted = LiveSceneObject(contract, object, "object");
  return counted != nullptr ? counted->ngons : 0;
}

std::int32_t ObjectInfoFlags(const void* object) {
  Contract contract;
  const SceneObject* flagged = LiveSceneObject(contract, object, "object");
  return flagged != nullptr ? flagged->infoFlags : 0;
}

}  // namespace

void InstallObjectEntries(HostTables& tables) {
  Install<entry::TagElementCount, &TagElementCount, kMainThread>(tables);
  Install<entry::ObjectInfoFlags, &ObjectInfoFlags, kMainThread>(tables);
  Install<entry::NgonCount, &NgonCount, kMainThread>(tables);
}

}  // namespace testhost
