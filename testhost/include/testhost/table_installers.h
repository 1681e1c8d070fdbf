#pragma once
// Puts the host's implementation of every entry it serves into its tables
// (src/tables/, one file per sub-table).
#include <utility>
#include <vector>

#include "testhost/tables.h"

namespace testhost {

class HostTables;

void InstallEveryEntry(HostTables& tables);

// The entries a count calls per object and its modeling commands, each with the
// function for its table slot that answers without checks (bare_scene_entries.cpp).
// For benchmarks only: Host::SetBareAnswers puts them in.
std::vector<std::pair<EntryId, void*>> BareSceneEntries();

}  // namespace testhost
