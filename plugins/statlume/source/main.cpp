// Start, message and end handlers of the plug-in.
#include "host_pmain.h"
#include "host_resource.h"
#include "logging.h"
#include "statlume_command.h"

namespace {

constexpr const char kMainFile[] = "plugins/statlume/source/main.cpp";
constexpr int kConsoleTarget = 14;
constexpr int kConsoleLevel = 1;

enum PluginMessage : std::int32_t {
  kMessageNone = 0,
  kMessageLoadResources = 1,
};

void ConsoleLine(const char* text, int line) {
  core::WriteLogLine(kConsoleTarget, kConsoleLevel, text, line, kMainFile);
}

}  // namespace

bool OnPluginStart() {
  if (!RegisterStatlumeCommand()) {
    ConsoleLine("Quorvant Software: Failed to load Statlume", __LINE__);
    return false;
  }
  ConsoleLine("Quorvant Software: Statlume successfully loaded.", __LINE__);
  return true;
}

bool OnPluginMessage(std::int32_t id, void*) {
  switch (id) {
    case kMessageNone:
      return true;
    case kMessageLoadResources:
      if (LoadResources()) return true;
      ConsoleLine("Statlume: failed to load resource file.", __LINE__);
      return false;
    default:
      return false;
  }
}

void OnPluginEnd() {}
