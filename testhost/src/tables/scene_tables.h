#pragma once
// Installers of the scene, bitmap, resource, path and general sub-tables, one per
// file; InstallSceneEntries, InstallResourceEntries and InstallCommandEntries run
// them (InstallPathEntries is fn_paths.cpp's own).
namespace testhost {

class HostTables;

void InstallGeneralEntries(HostTables& tables);         // t_HostOS_Ge (ge_general.cpp)
void InstallDocumentEntries(HostTables& tables);        // t_HostOS_Bd (bd_documents.cpp)
void InstallObjectEntries(HostTables& tables);          // t_HostOS_Bo (bo_objects.cpp)
void InstallNodeEntries(HostTables& tables);            // t_HostOS_At (at_nodes.cpp)
void InstallListEntries(HostTables& tables);            // t_HostOS_Bl (bl_lists.cpp)
void InstallBitmapEntries(HostTables& tables);          // t_HostOS_Bm (bm_bitmaps.cpp)
void InstallResourceFolderEntries(HostTables& tables);  // t_HostOS_Lr (lr_resources.cpp)
void InstallStringEntries(HostTables& tables);          // t_HostOS_St (st_strings.cpp)

}  // namespace testhost
