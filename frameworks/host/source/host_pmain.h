#pragma once
#include <stdint.h>

#include "host_path.h"
#include "platform.h"

// Entry actions of plugin_main.
enum EntryAction : int32_t {
  kActionInit = 1,
  kActionStart = 2,
  kActionEnd = 3,
  kActionQuery = 4,
  kActionMessage = 6,
};

// Answers of plugin_main.
inline constexpr int32_t kEntryOk = 1;
inline constexpr int32_t kEntryFailed = -1;
inline constexpr int32_t kEntryStartFailed = 0;
inline constexpr int32_t kEntryHostRejected = -3;
inline constexpr int32_t kEntryQueryAnswer = 5;

// Initialisation actions received minus end actions received.
extern int32_t EntryActionCount;
// Copy of the plug-in library's own path, kept from the first initialisation action.
extern HostPath* PluginFileStore;

// Handlers the plug-in provides.
bool OnPluginStart();
bool OnPluginMessage(int32_t id, void* data);
void OnPluginEnd();

extern "C" STATLUME_EXPORT int32_t plugin_main(int32_t action,
                                                                          void* p1, void* p2,
                                                                          void* p3);
