#pragma once
#include <stdint.h>

#include "entityrecords.h"

namespace core {

// Instruction-set extensions the machine supports, from the host's machine
// information: SSE2, SSE3, SSSE3, SSE4.1, SSE4.2, AVX, FMA, AES, PCLMULQDQ, AVX2.
inline constexpr int kMachineFeatureCount = 10;
extern uint8_t MachineInfoFlags[kMachineFeatureCount];

// Start function of the unit: reads the flags once at module start.
ErrorRef DetectCpuFeatures();

}  // namespace core
