#pragma once
// Puts the host's implementation of every entry it serves into its tables
// (src/tables/, one file per sub-table).
namespace testhost {

class HostTables;

void InstallEveryEntry(HostTables& tables);

}  // namespace testhost
