#include "requirements.h"

#include <system_error>
#include <thread>

#include "job_code.h"
#include "process_figures.h"

namespace validate {

namespace {

std::string MissingThreads() {
  try {
    std::thread([] {}).join();
    return "";
  } catch (const std::system_error& error) {
    return std::string("no worker thread can be started: ") + error.what();
  }
}

std::string MissingProcessFigures() {
  if (ResidentKilobytes() == 0) return "the resident size cannot be read from /proc/self/statm";
  if (OpenHandles() == 0) return "the open handles cannot be listed in /proc/self/fd";
  return "";
}

}  // namespace

const std::vector<Requirement>& AllRequirements() {
  static const std::vector<Requirement> all = {Requirement::kSymbolTable, Requirement::kThreads,
                                               Requirement::kProcessFigures};
  return all;
}

std::string RequirementName(Requirement requirement) {
  switch (requirement) {
    case Requirement::kSymbolTable: return "symbol-table";
    case Requirement::kThreads: return "threads";
    case Requirement::kProcessFigures: return "process-figures";
  }
  return "";
}

std::string RequirementMeaning(Requirement requirement) {
  switch (requirement) {
    case Requirement::kSymbolTable:
      return "the library keeps its symbol table (not stripped), through which the validator reaches its "
             "main-thread job code";
    case Requirement::kThreads: return "the validator's process can start worker threads";
    case Requirement::kProcessFigures:
      return "the validator's process can read its resident size and open handles (/proc/self)";
  }
  return "";
}

std::string MissingRequirement(Requirement requirement, const std::string& libraryFile) {
  switch (requirement) {
    case Requirement::kSymbolTable: return MissingJobCode(libraryFile);
    case Requirement::kThreads: return MissingThreads();
    case Requirement::kProcessFigures: return MissingProcessFigures();
  }
  return "";
}

}  // namespace validate
