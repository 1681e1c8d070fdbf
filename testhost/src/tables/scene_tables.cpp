#include "scene_tables.h"

#include "testhost/host.h"

namespace testhost {

void InstallSceneEntries(Host& host) {
  InstallDocumentEntries(host);
  InstallObjectEntries(host);
  InstallNodeEntries(host);
  InstallListEntries(host);
}

void InstallResourceEntries(Host& host) {
  InstallResourceFolderEntries(host);
  InstallStringEntries(host);
}

// Registration is the general table's; the icon it takes is a bitmap.
void InstallCommandEntries(Host& host) {
  InstallBitmapEntries(host);
  InstallGeneralEntries(host);
}

}  // namespace testhost
