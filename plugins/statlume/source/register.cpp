// The plug-in module: its register unit, dependencies, reflection unit and module
// entry. Runs first among the library's static initialisers.
#include "interfaces.h"
#include "register.h"
#include "registration.h"

namespace statlume {
namespace {

using namespace core;

TranslationUnitRecord g_placeholderUnit;
TranslationUnitRecord g_registerUnit;
TranslationUnitRecord g_reflectionUnit;
InitializerRecord g_reflectionInitializer;
DeclarationReference g_objectClass;
UsedDeclaration g_usesObjectClass;
ModuleEntry g_pluginModule;

constexpr EntityId kDependencies[] = {
    iface::framework::kScene,    iface::framework::kCommand,  iface::framework::kCore,
    iface::framework::kCrypt,    iface::framework::kImage,    iface::framework::kMath,
    iface::framework::kMeshMisc, iface::framework::kModelingGeom, iface::framework::kPython,
};

[[maybe_unused]] const int g_registered = [] {
  RegisterUnit(g_placeholderUnit, g_pluginModule, kUnnamedUnit, kPlaceholderUnitFlags);
  RegisterUnit(g_registerUnit, g_pluginModule, __FILE__, kRegisterUnitFlags);
  RegisterUsedDeclaration(g_usesObjectClass, &g_objectClass.head, g_registerUnit, "core/objectbase", 0);
  SetModuleDependencies(g_pluginModule, kDependencies, sizeof(kDependencies) / sizeof(EntityId));
  RegisterUnit(g_reflectionUnit, g_pluginModule, "[reflection registration]", kReflectionUnitFlags);
  RegisterInitializer(g_reflectionInitializer, Id(".reflection"), g_reflectionUnit, nullptr,
                      kInitializerPriority);
  RegisterDeclaration(g_objectClass, kEntityClass, iface::decl::kObjectClass, g_coreRegisterUnit,
                      g_coreModule);
  RegisterModule(g_pluginModule, Id("com.quorvant.statlume"), g_registerUnit, 0);
  return 0;
}();

}  // namespace
}  // namespace statlume
