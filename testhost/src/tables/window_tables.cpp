#include "window_tables.h"

#include "testhost/host.h"

namespace testhost {

void InstallWindowEntries(Host& host) {
  InstallDialogEntries(host);
  InstallElementOperation(host);
  InstallUserAreaEntries(host);
  InstallContainerEntries(host);
  InstallValueEntries(host);
}

}  // namespace testhost
