#pragma once
// Configuration variables the host may set, and the spin-wait back-off.
#include "entityrecords.h"
#include "platform.h"

namespace core {

inline constexpr int kConfigurationCapacity = 256;

enum ConfigurationType : int32_t {
  kConfigurationBool = 1,
  kConfigurationValue = 3,     // reference-counted framework value
  kConfigurationValueAlt = 4,  // reference-counted framework value
  kConfigurationCrashState = 5,
};

extern ConfigurationEntry g_configurationTable[kConfigurationCapacity];
extern int32_t g_configurationCount;

// Appends an entry (unless the table is full) and answers the default, which the
// variable's static initialiser stores in its storage.
template <typename T>
T RegisterConfigurationVariable(const char* name, T* storage, T defaultValue,
                                ConfigurationType type, const char* help);

// Start and end functions of the configuration unit, run by the kernel.
ErrorRef ConfigurationStart();
void ConfigurationEnd();

// The configuration initializer that units defining variables depend on.
extern InitializerRecord g_configurationInitializer;

// One step of spin-wait back-off; the state belongs to the waiting caller.
struct CpuYieldState {
  int32_t count;  // spin units spent, starts at 0
  int32_t delay;  // starts at 16
  void* payload;
};
inline constexpr int32_t kCpuYieldHandOver = 0x40000;
inline constexpr int32_t kCpuYieldMaxDelay = 2048;
inline constexpr int32_t kCpuYieldStartDelay = 16;
void CpuYield(CpuYieldState& state);
// Ends a wait: a tracking delegate sees the end of a wait that needed any steps.
void EndCpuYieldWait(CpuYieldState& state);

}  // namespace core

using CpuYieldDelegate = void (*)(core::CpuYieldState* state, void* payload);
extern "C" STATLUME_EXPORT CpuYieldDelegate g_CpuYieldDelegate;

extern uint8_t g_trackCpuYield;
extern uint8_t g_trackSpinlocks;
extern uint8_t g_inCrashhandler;

namespace core {
template <typename T>
T RegisterConfigurationVariable(const char* name, T* storage, T defaultValue,
                                ConfigurationType type, const char* help) {
  if (g_configurationCount >= kConfigurationCapacity) {
    *storage = defaultValue;
    return defaultValue;
  }
  ConfigurationEntry& entry = g_configurationTable[g_configurationCount++];
  entry.name = name;
  entry.help = help;
  entry.type = type;
  entry.storage = storage;
  return defaultValue;
}
}  // namespace core
