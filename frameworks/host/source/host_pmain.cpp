#include "host_pmain.h"

#include "host_resource.h"
#include "memory.h"

int32_t EntryActionCount = 0;
HostPath* PluginFileStore = nullptr;

namespace {

int32_t InitAction(const HostOS* record, const PathSlot* pluginPath) {
  if (++EntryActionCount != 1) return kEntryOk;
  // A host without a record cannot be served; refuse instead of reading through null.
  if (record == nullptr) return kEntryHostRejected;
  if (BindHostTables(record) < kRequiredHostVersion) return kEntryHostRejected;
  if (pluginPath == nullptr) return kEntryHostRejected;
  static constexpr core::SourceLocation kPathStore{__FILE__, __LINE__, 0};
  // Without memory the plug-in runs without a folder of its own; not reported.
  PluginFileStore = core::FrameworkNew<HostPath>(kPathStore, pluginPath);
  return kEntryOk;
}

void ReleasePluginFileStore() {
  if (PluginFileStore == nullptr) return;
  PluginFileStore->~HostPath();
  core::FrameworkFree(PluginFileStore);
  PluginFileStore = nullptr;
}

int32_t EndAction() {
  if (--EntryActionCount != 0) return kEntryOk;
  OnPluginEnd();
  ReleaseResources();
  ReleasePluginFileStore();
  return kEntryOk;
}

}  // namespace

extern "C" int32_t plugin_main(int32_t action, void* p1, void* p2, void* p3) {
  switch (action) {
    case kActionInit:
      return InitAction(static_cast<const HostOS*>(p1), static_cast<const PathSlot*>(p3));
    case kActionStart:
      return OnPluginStart() ? kEntryOk : kEntryStartFailed;
    case kActionEnd:
      return EndAction();
    case kActionQuery:
      return kEntryQueryAnswer;
    case kActionMessage: {
      // The message id travels in the low 32 bits of p1.
      const auto id = static_cast<int32_t>(reinterpret_cast<uintptr_t>(p1));
      return OnPluginMessage(id, p2) ? kEntryOk : kEntryFailed;
    }
    default:
      return kEntryFailed;
  }
}
