#pragma once
// The installers of the sub-tables, by subject; InstallEveryEntry runs them all.
namespace testhost {

class HostTables;

void InstallPathEntries(HostTables& tables);      // t_HostOS_Fn (fn_paths.cpp)
void InstallSceneEntries(HostTables& tables);     // scene, documents, objects, nodes, lists, general
void InstallWindowEntries(HostTables& tables);    // dialogs, user areas, containers, typed values
void InstallResourceEntries(HostTables& tables);  // resource folders and strings
void InstallCommandEntries(HostTables& tables);   // bitmaps and plug-in registration

}  // namespace testhost
