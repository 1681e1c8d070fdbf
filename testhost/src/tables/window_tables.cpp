#include "window_tables.h"

#include "installers.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"

namespace testhost {

void InstallWindowEntries(HostTables& tables) {
  InstallDialogEntries(tables);
  InstallElementOperation(tables);
  InstallUserAreaEntries(tables);
  InstallContainerEntries(tables);
  InstallValueEntries(tables);
}

}  // namespace testhost
