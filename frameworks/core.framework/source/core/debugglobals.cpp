#include "debugglobals.h"

#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <cstdlib>

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

std::uint8_t g_enableDebugBreak = core::RegisterConfigurationVariable<std::uint8_t>(
    "g_enableDebugBreak", &g_enableDebugBreak, 1, core::kConfigurationBool,
    "enable debug breaks (when debugger is attached)");

namespace core {

bool QueryDebuggerAttached() {
  // /proc/self/status carries "TracerPid:\t<pid>"; any pid other than 0 is a tracer.
  const int fd = open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  const ssize_t length = read(fd, buffer, sizeof(buffer) - 1);
  close(fd);
  if (length <= 0) return false;
  buffer[length] = '\0';
  const char* field = strstr(buffer, "TracerPid:");
  if (field == nullptr) return false;
  return std::strtol(field + 10, nullptr, 10) != 0;
}

bool g_debuggerAttached = QueryDebuggerAttached();

void DebugBreakIfEnabled() {
  if (g_debuggerAttached && g_enableDebugBreak != 0) __asm__ volatile("int3");
}

void BreakpointTrap() {
  __asm__ volatile("int3");
  __builtin_trap();
}

}  // namespace core
