// Host path values with real path semantics.
#include <filesystem>

#include "testhost/host.h"

namespace testhost {
namespace {

namespace fs = std::filesystem;
using Slot = PathValue*;

PathValue* Value(const Slot* slot, const char* operation) {
  Host& host = Host::Current();
  if (slot == nullptr || *slot == nullptr || !host.IsLivePath(*slot)) {
    host.Fail(std::string(operation) + " on a slot that holds no path value");
    static PathValue scratch;
    scratch.text.clear();
    return &scratch;
  }
  return *slot;
}

// Entries that construct into a slot expect it empty; anything else would leak.
void Construct(Slot* slot, const std::string& text, const char* operation) {
  Host& host = Host::Current();
  if (slot == nullptr) {
    host.Fail(std::string(operation) + " without a slot");
    return;
  }
  if (*slot != nullptr) host.Fail(std::string(operation) + " into a slot that already holds a path");
  *slot = host.NewPath(text, Owner::kPlugin, std::string(operation));
}

void PathInit(Slot* slot) { Construct(slot, "", "PathInit"); }

void PathDestroy(Slot* slot) {
  if (slot == nullptr || *slot == nullptr) return;
  Host::Current().DeletePath(*slot, Describe(entry::PathDestroy));
  *slot = nullptr;
}

void PathAssign(const Slot* source, Slot* destination) {
  Value(destination, "PathAssign")->text = Value(source, "PathAssign")->text;
}

void PathSetText(Slot* slot, const char* text) {
  Value(slot, "PathSetText")->text = text != nullptr ? text : "";
}

void PathDirectory(Slot* out, const Slot* path) {
  Construct(out, fs::path(Value(path, "PathDirectory")->text).parent_path().string(), "PathDirectory");
}

void PathFilePart(Slot* out, const Slot* path) {
  Construct(out, fs::path(Value(path, "PathFilePart")->text).filename().string(), "PathFilePart");
}

void PathAppend(Slot* path, const Slot* name) {
  PathValue* target = Value(path, "PathAppend");
  target->text = (fs::path(target->text) / fs::path(Value(name, "PathAppend")->text)).string();
}

bool PathEquals(const Slot* a, const Slot* b) {
  const fs::path left(Value(a, "PathEquals")->text);
  const fs::path right(Value(b, "PathEquals")->text);
  std::error_code error;
  if (!left.empty() && !right.empty() && fs::exists(left, error) && fs::exists(right, error))
    return fs::equivalent(left, right, error);
  return left.lexically_normal() == right.lexically_normal();
}

void PathClearSuffix(Slot* path) {
  PathValue* target = Value(path, "PathClearSuffix");
  target->text = fs::path(target->text).replace_extension().string();
}

void PathToString(FrameworkObject** out, const Slot* path) {
  if (out == nullptr) return;
  Kernel& kernel = Host::Current().Framework();
  if (*out != nullptr) kernel.DropReference(*out);  // the slot's earlier string is replaced
  *out = kernel.NewString(Value(path, "PathToString")->text, Owner::kPlugin, "PathToString");
}

void PathSetString(Slot* path, FrameworkObject* const* string) {
  Value(path, "PathSetString")->text =
      string != nullptr ? Host::Current().Framework().StringText(*string) : std::string();
}

}  // namespace

void InstallPathEntries(Host& host) {
  Install<entry::PathToString, &PathToString>(host);
  Install<entry::PathSetString, &PathSetString>(host);
  Install<entry::PathDirectory, &PathDirectory>(host);
  Install<entry::PathFilePart, &PathFilePart>(host);
  Install<entry::PathEquals, &PathEquals>(host);
  Install<entry::PathAppend, &PathAppend>(host);
  Install<entry::PathInit, &PathInit>(host);
  Install<entry::PathDestroy, &PathDestroy>(host);
  Install<entry::PathAssign, &PathAssign>(host);
  Install<entry::PathSetText, &PathSetText>(host);
  Install<entry::PathClearSuffix, &PathClearSuffix>(host);
}

}  // namespace testhost
