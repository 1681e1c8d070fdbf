#pragma once
#include "entityrecords.h"

namespace core {

// The core framework client module: its register unit declares the core
// framework's interfaces and declarations.
extern TranslationUnitRecord g_coreRegisterUnit;
extern ModuleEntry g_coreModule;

}  // namespace core
