#include "scene_tables.h"

#include "installers.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"

namespace testhost {

void InstallSceneEntries(HostTables& tables) {
  InstallDocumentEntries(tables);
  InstallObjectEntries(tables);
  InstallNodeEntries(tables);
  InstallListEntries(tables);
}

void InstallResourceEntries(HostTables& tables) {
  InstallResourceFolderEntries(tables);
  InstallStringEntries(tables);
}

// Registration is the general table's; the icon it takes is a bitmap.
void InstallCommandEntries(HostTables& tables) {
  InstallBitmapEntries(tables);
  InstallGeneralEntries(tables);
}

}  // namespace testhost
