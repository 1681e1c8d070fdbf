#pragma once
// Installers of the window side's sub-tables; InstallWindowEntries runs them all.
namespace testhost {

class HostTables;

void InstallDialogEntries(HostTables& tables);         // t_HostOS_Cd (cd_dialogs.cpp)
void InstallElementOperation(HostTables& tables);      // t_HostOS_Cd entry 272 (cd_element_operation.cpp)
void InstallUserAreaEntries(HostTables& tables);       // t_HostOS_Cu (cu_userareas.cpp)
void InstallContainerEntries(HostTables& tables);      // t_HostOS_Bc (bc_containers.cpp)
void InstallValueEntries(HostTables& tables);          // t_HostOS_Gd (gd_values.cpp)

}  // namespace testhost
