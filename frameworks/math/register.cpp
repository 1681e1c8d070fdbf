// The math framework client module: references to the math framework's interfaces
// and registries. Nothing in the plug-in calls them; they describe the module.
#include "interfaces.h"
#include "registration.h"

namespace {

using namespace core;

constexpr EntityId kInterfaces[] = {
    Id("net.hostapp.math.biginteger"),   Id("net.hostapp.math.blendanimation"),
    Id("net.hostapp.math.blendfunction"), Id("net.hostapp.math.blendtween"),
    Id("net.hostapp.math.fft"),          Id("net.hostapp.math.gradient"),
    Id("net.hostapp.math.gradientrenderdata"), Id("net.hostapp.math.noise"),
    Id("net.hostapp.math.rendernoise"),  Id("net.hostapp.math.splinemapper"),
};
constexpr EntityId kRegistries[] = {
    Id("net.hostapp.math.registry.blendfunctions"),
    Id("net.hostapp.math.registry.fftclasses"),
    Id("net.hostapp.math.registry.rendernoiseclasses"),
};
constexpr EntityId kDependencies[] = {iface::framework::kCore};
constexpr int kInterfaceCount = sizeof(kInterfaces) / sizeof(EntityId);
constexpr int kRegistryCount = sizeof(kRegistries) / sizeof(EntityId);

TranslationUnitRecord g_mathRegisterUnit;
ModuleEntry g_mathModule;
ObjectInterfaceReference g_interfaces[kInterfaceCount];
RegistryReference g_registries[kRegistryCount];
const void* const kNoBases[] = {nullptr};
constexpr uint8_t kNoKinds[1] = {0};

[[maybe_unused]] const int g_registered = [] {
  RegisterUnit(g_mathRegisterUnit, g_mathModule, __FILE__, kRegisterUnitFlags);
  for (int i = 0; i < kInterfaceCount; ++i)
    RegisterObjectInterface(g_interfaces[i], kInterfaces[i], g_mathRegisterUnit, 0, kNoBases, false,
                            kNoMethods, kNoKinds);
  for (int i = 0; i < kRegistryCount; ++i) RegisterRegistry(g_registries[i], kRegistries[i], g_mathRegisterUnit);
  SetModuleDependencies(g_mathModule, kDependencies, 1);
  RegisterModule(g_mathModule, iface::framework::kMath, g_mathRegisterUnit, kFrameworkModuleFlags);
  return 0;
}();

}  // namespace
