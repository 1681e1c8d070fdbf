#pragma once
#include "entityrecords.h"

namespace core {

// Data type objects whose flags word (32 bits at byte 40) has bit 0 set are static.
inline constexpr size_t kDataTypeFlagsOffset = 40;
bool IsStaticDataType(const DataTypeObject* type);

// Links a holder at the head of its module's list (static initialisation only).
LazyDataTypeHolder& RegisterDataTypeHolder(LazyDataTypeHolder& holder, ModuleEntry& module,
                                           DataTypeProducer producer);

// Obtains the holder's type from its producer; on failure reports (unless the
// failure is an unregistered data type) and falls back to the invalid type.
ErrorRef InitializeDataType(LazyDataTypeHolder& holder, bool report);

// The type a holder stands for, initialising it on first use.
const DataTypeObject* HeldDataType(LazyDataTypeHolder& holder);

// The int32 data type, held lazily.
extern LazyDataTypeHolder g_int32Type;

}  // namespace core
