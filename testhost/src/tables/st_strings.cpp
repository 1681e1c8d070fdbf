// t_HostOS_St: host strings. The plug-in reads only the first entry, a data entry
// pointing to the host's shared empty string.
#include "scene_tables.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/resources.h"

namespace testhost {

void InstallStringEntries(HostTables& tables) {
  tables.SetRawEntry(entry::SharedEmptyString,
                     const_cast<void*>(static_cast<const void*>(CurrentResources().EmptyString())));
}

}  // namespace testhost
