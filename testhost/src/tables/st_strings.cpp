// t_HostOS_St: host strings. The plug-in reads only the first entry, a data entry
// pointing to the host's shared empty string.
#include "scene_tables.h"
#include "testhost/host.h"

namespace testhost {

void InstallStringEntries(Host& host) {
  host.SetRawEntry(entry::SharedEmptyString,
                   const_cast<void*>(static_cast<const void*>(host.ResourceModel().EmptyString())));
}

}  // namespace testhost
