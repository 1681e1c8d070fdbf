#include "host_table_layout.h"

#if defined(STATLUME_HOST_TABLE_LAYOUT_UNKNOWN) || defined(__APPLE__)
const HostTableLayout kHostTableLayout = HostTableLayout::kUnknown;
#else
const HostTableLayout kHostTableLayout = HostTableLayout::kEightByteEntries;
#endif
