#include "host_basebitmap.h"


#include "host_resource.h"

BaseBitmap** LoadIconBitmap(BaseBitmap** slot, const core::String& name, double factor) {
  *slot = BitmapAlloc();
  if (*slot == nullptr) return slot;
  int32_t loaded = 0;
  {
    const HostPath file(static_cast<const StringSlot*>(name.Slot()));
    HostPath folder;
    PluginResourceFolder(folder);
    const HostPath joined(folder, file);
    loaded = BitmapInitFromFile(*slot, joined.slot(), -1, nullptr);
  }
  if (loaded != kImageLoaded) {
    ReleaseBitmap(slot);
    return slot;
  }
  GeValue scale{kGeValueFloat64, 0, 0};
  __builtin_memcpy(&scale.value, &factor, sizeof(factor));
  BitmapSetData(*slot, kBitmapScaleFactor, &scale);
  ReleaseGeValue(scale);
  return slot;
}

void ReleaseBitmap(BaseBitmap** slot) {
  if (*slot != nullptr && t_HostOS_Bm != nullptr && decltype(BitmapFree)::Resolve() != nullptr)
    BitmapFree(*slot);
  *slot = nullptr;
}
