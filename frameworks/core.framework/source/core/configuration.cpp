#include "configuration.h"

#include "object.h"
#include "interfaces.h"
#include "refcount.h"
#include "register.h"
#include "registration.h"

namespace core {

ConfigurationEntry g_configurationTable[kConfigurationCapacity];
int32_t g_configurationCount = 0;
InitializerRecord g_configurationInitializer;

namespace {

constexpr const char kSpinHelp[] =
    "Track usage of Spinlocks (either for performance checks or deadlock detection)";

TranslationUnitRecord g_configurationUnit;
[[maybe_unused]] auto& g_unit = RegisterUnit(g_configurationUnit, g_coreModule, kUnnamedUnit, 0);
// Names the unit after this file.
[[maybe_unused]] auto& g_initializer = RegisterInitializer(
    g_configurationInitializer, Id("configuration"), g_configurationUnit, __FILE__, kInitializerPriority);
StartFunctionRecord g_startFunctions;
[[maybe_unused]] auto& g_start =
    RegisterStartFunctions(g_startFunctions, __FILE__, &ConfigurationStart, &ConfigurationEnd, g_configurationUnit);

void NoYield(CpuYieldState*, void*) {}

}  // namespace

ErrorRef ConfigurationStart() {
  for (const ModuleEntry* module = g_framework.modules; module != nullptr; module = module->nextModule)
    if ((module->head.flags & kFlagSkipConfiguration) != 0) return nullptr;
  for (int32_t i = 0; i < g_configurationCount; ++i)
    Method<iface::System, iface::System::ConfigurationRegister>(&g_configurationTable[i]);
  return nullptr;
}

void ConfigurationEnd() {
  for (int32_t i = 0; i < g_configurationCount; ++i) {
    ConfigurationEntry& entry = g_configurationTable[i];
    if (entry.type != kConfigurationValue && entry.type != kConfigurationValueAlt) continue;
    auto* slot = static_cast<const void**>(entry.storage);
    const void* value = *slot;
    *slot = nullptr;
    ReleaseObject(value);
  }
}

void CpuYield(CpuYieldState& state) {
  if (state.count > kCpuYieldHandOver) {
    g_CpuYieldDelegate(&state, state.payload);
    return;
  }
  if (state.count == 0 && g_trackCpuYield != 0) g_CpuYieldDelegate(&state, state.payload);
  state.count += state.delay;
  for (int32_t group = state.delay / 8; group > 0; --group) {
    for (int i = 0; i < 8; ++i) __builtin_ia32_pause();
  }
  state.delay *= 2;
  if (state.delay > kCpuYieldMaxDelay) state.delay = kCpuYieldStartDelay;
}

void EndCpuYieldWait(CpuYieldState& state) {
  if (state.count == 0 || g_trackCpuYield == 0) return;
  state.count = 2147483647;
  g_CpuYieldDelegate(&state, state.payload);
}

}  // namespace core

CpuYieldDelegate g_CpuYieldDelegate = &core::NoYield;

namespace {
core::InitializerDependency g_dependsOnConfiguration;
[[maybe_unused]] auto& g_dependency = core::RegisterInitializerDependency(
    g_dependsOnConfiguration, core::g_configurationInitializer, core::g_configurationUnit, ".configuration");
}  // namespace

// g_trackSpinlocks and g_inCrashhandler belong to the Unix builds; on Windows they
// stay plain unregistered bytes.
uint8_t g_trackSpinlocks = platform::kTraits.windows
                               ? uint8_t{0}
                               : core::RegisterConfigurationVariable<uint8_t>("g_trackSpinlocks", &g_trackSpinlocks,
                                                                              0, core::kConfigurationBool,
                                                                              core::kSpinHelp);
uint8_t g_trackCpuYield = core::RegisterConfigurationVariable<uint8_t>(
    "g_trackCpuYield", &g_trackCpuYield, 0, core::kConfigurationBool, core::kSpinHelp);
uint8_t g_inCrashhandler = platform::kTraits.windows
                               ? uint8_t{0}
                               : core::RegisterConfigurationVariable<uint8_t>(
                                     "g_inCrashhandler", &g_inCrashhandler, 0, core::kConfigurationCrashState, "");
