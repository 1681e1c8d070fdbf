#pragma once
#include <cstdint>

#include "host_path.h"

// Entry actions of plugin_main.
enum EntryAction : std::int32_t {
  kActionInit = 1,
  kActionStart = 2,
  kActionEnd = 3,
  kActionQuery = 4,
  kActionMessage = 6,
};

// Answers of plugin_main.
inline constexpr std::int32_t kEntryOk = 1;
inline constexpr std::int32_t kEntryFailed = -1;
inline constexpr std::int32_t kEntryStartFailed = 0;
inline constexpr std::int32_t kEntryHostRejected = -3;
inline constexpr std::int32_t kEntryQueryAnswer = 5;

// Initialisation actions received minus end actions received.
extern std::int32_t EntryActionCount;
// Copy of the plug-in library's own path, kept from the first initialisation action.
extern HostPath* PluginFileStore;

// Handlers the plug-in provides.
bool OnPluginStart();
bool OnPluginMessage(std::int32_t id, void* data);
void OnPluginEnd();

extern "C" __attribute__((visibility("default"))) std::int32_t plugin_main(std::int32_t action,
                                                                          void* p1, void* p2,
                                                                          void* p3);
