#include "host_path.h"

#include "host_scene.h"
#include "refcount.h"

HostPath::HostPath(Part part, const HostPath& source) {
  if (part == kDirectory)
    PathDirectory(&slot_, source.slot());
  else
    PathFilePart(&slot_, source.slot());
}

HostPath::HostPath(ApplicationFolderTag) { ApplicationFolder(&slot_); }

HostPath::~HostPath() {
  PathDestroy(&slot_);
  // A host may leave its reference in the slot; the holder drops it.
  if (slot_ != nullptr) core::ReleaseObject(slot_);
  slot_ = nullptr;
}
