// Start, message and end handlers of the plug-in.
#include "host_pmain.h"
#include "host_resource.h"
#include "logging.h"
#include "operatingsystem.h"
#include "statlume_command.h"

namespace {

constexpr const char kMainFile[] = "plugins/statlume/source/main.cpp";
constexpr int kConsoleTarget = 14;
constexpr int kConsoleLevel = 1;

enum PluginMessage : int32_t {
  kMessageNone = 0,
  kMessageLoadResources = 1,
};

// A logger that cannot take the line answers an error; the line is lost either way,
// but the error is ours to release.
void ConsoleLine(const char* text, int line) {
  core::ReleaseError(core::WriteLogLine(kConsoleTarget, kConsoleLevel, text, line, kMainFile));
}

// Whether the plug-in can serve the bound host. When it cannot, the first refusal
// after the host's initialisation says why in one console line.
bool g_refusalReported = false;
bool HostServable() {
  const char* reason = HostRefusalReason();
  if (reason == nullptr) return true;
  if (!g_refusalReported) ConsoleLine(reason, __LINE__);
  g_refusalReported = true;
  return false;
}

}  // namespace

// A host that left out one of its tables could be handed nothing the plug-in
// needs there (path values, typed values, ...), and a host whose table layout this
// build does not know cannot be called at all: the plug-in then does not start.
bool OnPluginStart() {
  if (!HostServable() || !RegisterStatlumeCommand()) {
    ConsoleLine("Quorvant Software: Failed to load Statlume", __LINE__);
    return false;
  }
  ConsoleLine("Quorvant Software: Statlume successfully loaded.", __LINE__);
  return true;
}

bool OnPluginMessage(int32_t id, void*) {
  switch (id) {
    case kMessageNone:
      return true;
    case kMessageLoadResources:
      if (!HostServable()) return false;  // the line said why
      if (LoadResources()) return true;
      ConsoleLine("Statlume: failed to load resource file.", __LINE__);
      return false;
    default:
      return false;
  }
}

// The next initialisation may bring another host: its refusal is said again.
void OnPluginEnd() { g_refusalReported = false; }
