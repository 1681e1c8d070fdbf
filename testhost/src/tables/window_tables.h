#pragma once
// Installers of the window side's sub-tables; InstallWindowEntries runs them all.
namespace testhost {

class Host;

void InstallDialogEntries(Host& host);         // t_HostOS_Cd (cd_dialogs.cpp)
void InstallElementOperation(Host& host);      // t_HostOS_Cd entry 272 (cd_element_operation.cpp)
void InstallUserAreaEntries(Host& host);       // t_HostOS_Cu (cu_userareas.cpp)
void InstallContainerEntries(Host& host);      // t_HostOS_Bc (bc_containers.cpp)
void InstallValueEntries(Host& host);          // t_HostOS_Gd (gd_values.cpp)

}  // namespace testhost
