#pragma once
// What a case needs beyond a plug-in folder the host can load. A case whose
// requirement is missing is skipped, and says which one.
#include <set>
#include <string>
#include <vector>

namespace validate {

enum class Requirement {
  kSymbolTable,     // the library's symbol table names its main-thread job code
  kThreads,         // this process can start worker threads
  kProcessFigures,  // this process's resident size and open handles can be read
};
using Requirements = std::set<Requirement>;

// Every requirement, in the order they are listed.
const std::vector<Requirement>& AllRequirements();

// The requirement's name in lists and reports ("symbol-table", ...).
std::string RequirementName(Requirement requirement);

// What it asks for, in one line.
std::string RequirementMeaning(Requirement requirement);

// Why the requirement is not met for the plug-in library `libraryFile` in this
// process; empty when it is.
std::string MissingRequirement(Requirement requirement, const std::string& libraryFile);

}  // namespace validate
