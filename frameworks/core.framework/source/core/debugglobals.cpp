#include "debugglobals.h"

#include "platform.h"
#include "configuration.h"
#include "register.h"
#include "registration.h"

namespace {
core::TranslationUnitRecord g_debugUnit;
[[maybe_unused]] auto& g_unit = core::RegisterUnit(g_debugUnit, core::g_coreModule, core::kUnnamedUnit, 0);
core::InitializerDependency g_dependsOnConfiguration;
[[maybe_unused]] auto& g_dependency = core::RegisterInitializerDependency(
    g_dependsOnConfiguration, core::g_configurationInitializer, g_debugUnit, ".configuration");
}  // namespace

uint8_t g_enableDebugBreak = core::RegisterConfigurationVariable<uint8_t>(
    "g_enableDebugBreak", &g_enableDebugBreak, 1, core::kConfigurationBool,
    "enable debug breaks (when debugger is attached)");

namespace core {

bool QueryDebuggerAttached() { return platform::DebuggerAttached(); }

bool g_debuggerAttached = QueryDebuggerAttached();

void DebugBreakIfEnabled() {
  if (g_debuggerAttached && g_enableDebugBreak != 0) __asm__ volatile("int3");
}

void BreakpointTrap() {
  __asm__ volatile("int3");
  __builtin_trap();
}

}  // namespace core
