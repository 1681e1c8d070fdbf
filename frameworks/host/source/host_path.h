#pragma once

#include "operatingsystem.h"

// Host path values: one pointer-sized slot, constructed and destroyed in place by
// the host's path operations.
struct HostPathObject;
using PathSlot = HostPathObject*;
namespace core {
struct StringObject;
}
using StringSlot = core::StringObject*;

inline constexpr HostOp<&t_HostOS_Fn, 48, void(StringSlot*, const PathSlot*)> PathToString{};
inline constexpr HostOp<&t_HostOS_Fn, 56, void(PathSlot*, const StringSlot*)> PathSetString{};
inline constexpr HostOp<&t_HostOS_Fn, 64, void(PathSlot*, const PathSlot*)> PathDirectory{};
inline constexpr HostOp<&t_HostOS_Fn, 72, void(PathSlot*, const PathSlot*)> PathFilePart{};
inline constexpr HostOp<&t_HostOS_Fn, 120, bool(const PathSlot*, const PathSlot*)> PathEquals{};
inline constexpr HostOp<&t_HostOS_Fn, 128, void(PathSlot*, const PathSlot*)> PathAppend{};
inline constexpr HostOp<&t_HostOS_Fn, 136, void(PathSlot*)> PathInit{};
inline constexpr HostOp<&t_HostOS_Fn, 144, void(PathSlot*)> PathDestroy{};
// Note the order: source first, destination second.
inline constexpr HostOp<&t_HostOS_Fn, 152, void(const PathSlot*, PathSlot*)> PathAssign{};
inline constexpr HostOp<&t_HostOS_Fn, 200, void(PathSlot*, const char*)> PathSetText{};
inline constexpr HostOp<&t_HostOS_Fn, 208, void(PathSlot*)> PathClearSuffix{};

// A path value held in one slot for the lifetime of this object.
class HostPath {
 public:
  enum Part { kDirectory, kFilePart };
  struct ApplicationFolderTag {};

  // An empty path.
  HostPath() { PathInit(&slot_); }
  // A path from zero-terminated text.
  explicit HostPath(const char* text) : HostPath() { PathSetText(&slot_, text); }
  // A path from a framework string.
  explicit HostPath(const StringSlot* string) : HostPath() { PathSetString(&slot_, string); }
  // A copy of a path.
  explicit HostPath(const PathSlot* source) : HostPath() { PathAssign(source, &slot_); }
  // The directory or the last component of a path, constructed by the host.
  HostPath(Part part, const HostPath& source);
  // The host application's own folder.
  explicit HostPath(ApplicationFolderTag);
  // `folder` with `name` appended as a further component.
  HostPath(const HostPath& folder, const HostPath& name) : HostPath(folder.slot()) {
    PathAppend(&slot_, name.slot());
  }

  ~HostPath();
  HostPath(const HostPath&) = delete;
  HostPath& operator=(const HostPath&) = delete;

  void Assign(const HostPath& source) { PathAssign(source.slot(), &slot_); }
  void Append(const HostPath& name) { PathAppend(&slot_, name.slot()); }
  void ClearSuffix() { PathClearSuffix(&slot_); }
  bool Equals(const HostPath& other) const { return PathEquals(&slot_, other.slot()); }
  // Fills a string slot with the path as text.
  void ToString(StringSlot* out) const { PathToString(out, &slot_); }

  const PathSlot* slot() const { return &slot_; }
  PathSlot* slot() { return &slot_; }

 private:
  PathSlot slot_ = nullptr;
};
