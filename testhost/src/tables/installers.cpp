#include "installers.h"

#include "testhost/table_installers.h"

namespace testhost {

void InstallEveryEntry(HostTables& tables) {
  InstallPathEntries(tables);
  InstallSceneEntries(tables);
  InstallWindowEntries(tables);
  InstallResourceEntries(tables);
  InstallCommandEntries(tables);
}

}  // namespace testhost
