// The scene framework client module: its register unit, dependencies and module entry.
#include "interfaces.h"
#include "registration.h"

namespace {

using namespace core;

TranslationUnitRecord g_sceneRegisterUnit;
ModuleEntry g_sceneModule;

constexpr EntityId kDependencies[] = {
    iface::framework::kCore, iface::framework::kMath, iface::framework::kMeshMisc,
    iface::framework::kModelingGeom,
};

[[maybe_unused]] const int g_registered = [] {
  RegisterUnit(g_sceneRegisterUnit, g_sceneModule, __FILE__, kRegisterUnitFlags);
  SetModuleDependencies(g_sceneModule, kDependencies, sizeof(kDependencies) / sizeof(EntityId));
  RegisterModule(g_sceneModule, iface::framework::kScene, g_sceneRegisterUnit, kFrameworkModuleFlags);
  return 0;
}();

}  // namespace
