// t_HostOS_Fn: host path values with real path semantics. Entries that construct
// a path take an empty slot and make the path the plug-in's (given back through
// PathDestroy); entries that change a path take only one the plug-in holds; every
// other path argument is a slot holding a live path value, the host's own included.
#include <filesystem>

#include "object_arguments.h"
#include "installers.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/kernel.h"
#include "testhost/paths.h"

namespace testhost {
namespace {

namespace fs = std::filesystem;
using Slot = PathValue*;

void Construct(Slot* slot, const std::string& text, const EntryId& entry) {
  *slot = CurrentPaths().New(text, Owner::kPlugin, Describe(entry));
}

void PathInit(Slot* slot) {
  Contract contract;
  if (EmptyPathSlot(contract, slot, "slot")) Construct(slot, "", entry::PathInit);
}

// Some hosts leave a reference-counted object of their own in the slot; the holder
// drops it by the framework's convention.
void PathDestroy(Slot* slot) {
  Contract contract;
  PathValue* path = PathIn(contract, slot, "slot");
  if (path == nullptr || !CurrentPaths().Delete(path, Describe(entry::PathDestroy))) return;
  *slot = nullptr;
  if (CurrentPaths().LeavesReferencesInDestroyed())
    *slot = static_cast<Slot>(CurrentKernel().NewObject(sizeof(void*), CurrentKernel().PlainDescriptor(), nullptr,
                                                         Owner::kPlugin, "path reference",
                                                         Describe(entry::PathDestroy)));
}

// Source first, destination second.
void PathAssign(const Slot* source, Slot* destination) {
  Contract contract;
  const PathValue* from = PathIn(contract, source, "source");
  PathValue* to = OwnPathIn(contract, destination, "destination");
  if (from != nullptr && to != nullptr) to->text = from->text;
}

void PathSetText(Slot* slot, const char* text) {
  Contract contract;
  PathValue* path = OwnPathIn(contract, slot, "path");
  if (contract.NotNull(text, "text") && path != nullptr) path->text = text;
}

void PathSetString(Slot* slot, const StringSlot* string) {
  Contract contract;
  PathValue* path = OwnPathIn(contract, slot, "path");
  std::string text;
  if (LiveStringSlot(contract, string, "string", &text) && path != nullptr) path->text = text;
}

// The slot's earlier string, if any, is replaced.
void PathToString(StringSlot* out, const Slot* slot) {
  Contract contract;
  const bool outOk = LiveStringSlot(contract, out, "string slot");
  const PathValue* path = PathIn(contract, slot, "path");
  if (!outOk || path == nullptr) return;
  Kernel& kernel = CurrentKernel();
  if (*out != nullptr) kernel.DropReference(*out);
  *out = kernel.NewString(path->text, Owner::kPlugin, Describe(entry::PathToString));
}

void PathDirectory(Slot* out, const Slot* slot) {
  Contract contract;
  const bool outOk = EmptyPathSlot(contract, out, "slot");
  const PathValue* path = PathIn(contract, slot, "path");
  if (outOk && path != nullptr) Construct(out, fs::path(path->text).parent_path().string(), entry::PathDirectory);
}

void PathFilePart(Slot* out, const Slot* slot) {
  Contract contract;
  const bool outOk = EmptyPathSlot(contract, out, "slot");
  const PathValue* path = PathIn(contract, slot, "path");
  if (outOk && path != nullptr) Construct(out, fs::path(path->text).filename().string(), entry::PathFilePart);
}

void PathAppend(Slot* slot, const Slot* name) {
  Contract contract;
  PathValue* path = OwnPathIn(contract, slot, "path");
  const PathValue* appended = PathIn(contract, name, "name");
  if (path != nullptr && appended != nullptr) path->text = (fs::path(path->text) / fs::path(appended->text)).generic_string();
}

// Two paths name the same location when both exist and are the same file, or
// otherwise when they read the same once normalised.
bool PathEquals(const Slot* a, const Slot* b) {
  Contract contract;
  const PathValue* first = PathIn(contract, a, "first");
  const PathValue* second = PathIn(contract, b, "second");
  if (first == nullptr || second == nullptr) return false;
  const fs::path left(first->text);
  const fs::path right(second->text);
  std::error_code error;
  if (!left.empty() && !right.empty() && fs::exists(left, error) && fs::exists(right, error))
    return fs::equivalent(left, right, error);
  return left.lexically_normal() == right.lexically_normal();
}

void PathClearSuffix(Slot* slot) {
  Contract contract;
  if (PathValue* path = OwnPathIn(contract, slot, "path")) path->text = fs::path(path->text).replace_extension().string();
}

}  // namespace

void InstallPathEntries(HostTables& tables) {
  Install<entry::PathToString, &PathToString, kMainThread>(tables);
  Install<entry::PathSetString, &PathSetString, kMainThread>(tables);
  Install<entry::PathDirectory, &PathDirectory, kMainThread>(tables);
  Install<entry::PathFilePart, &PathFilePart, kMainThread>(tables);
  Install<entry::PathEquals, &PathEquals, kMainThread>(tables);
  Install<entry::PathAppend, &PathAppend, kMainThread>(tables);
  Install<entry::PathInit, &PathInit, kMainThread>(tables);
  Install<entry::PathDestroy, &PathDestroy, kMainThread>(tables);
  Install<entry::PathAssign, &PathAssign, kMainThread>(tables);
  Install<entry::PathSetText, &PathSetText, kMainThread>(tables);
  Install<entry::PathClearSuffix, &PathClearSuffix, kMainThread>(tables);
}

}  // namespace testhost
