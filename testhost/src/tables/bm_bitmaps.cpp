// t_HostOS_Bm: bitmaps: made for the plug-in, loaded from image files, given data,
// and given back.
#include "object_arguments.h"
#include "scene_tables.h"
#include "testhost/bitmaps.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/paths.h"
#include "testhost/windows.h"

namespace testhost {
namespace {

Bitmaps& TheBitmaps() { return CurrentBitmaps(); }

Bitmap* BitmapAlloc() { return TheBitmaps().New(); }

void BitmapFree(const void* bitmap) {
  Contract contract;
  if (contract.NotNull(bitmap, "bitmap")) TheBitmaps().Free(bitmap, Describe(entry::BitmapFree));
}

// The whole file (frame -1) and no further settings (a null fourth argument).
std::int32_t BitmapInitFromFile(const void* bitmap, const PathValue* const* path, std::int32_t frame,
                                const void* settings) {
  Contract contract;
  Bitmap* target = HeldBitmap(contract, bitmap, "bitmap");
  const PathValue* file = PathIn(contract, path, "path");
  contract.Is(frame, kFrameAll, "frame");
  contract.Null(settings, "fourth");
  if (target == nullptr || file == nullptr) return 0;
  return TheBitmaps().Load(*target, file->text) ? kImageLoaded : 0;
}

// The one datum the host takes: the scale factor, a 16-byte typed value of kind 19,
// which the plug-in destroys through the host once the call has taken it.
void BitmapSetData(const void* bitmap, std::int32_t id, void* value) {
  Contract contract;
  Bitmap* target = HeldBitmap(contract, bitmap, "bitmap");
  contract.Is(id, kBitmapScaleFactor, "id");
  if (!contract.NotNull(value, "value")) return;
  const auto kind = ReadAt<std::int32_t>(value, 0);
  contract.Is(kind, kValueFloat64, "value.kind");
  if (target != nullptr) target->data[id] = {kind, ReadAt<std::int64_t>(value, 8)};
  CurrentWindows().TakeValue(static_cast<TypedValue*>(value),
                                          Describe(entry::BitmapSetData) + " (the scale factor)");
}

}  // namespace

void InstallBitmapEntries(HostTables& tables) {
  Install<entry::BitmapAlloc, &BitmapAlloc, kMainThread>(tables);
  Install<entry::BitmapFree, &BitmapFree, kMainThread>(tables);
  Install<entry::BitmapInitFromFile, &BitmapInitFromFile, kMainThread>(tables);
  Install<entry::BitmapSetData, &BitmapSetData, kMainThread>(tables);
}

}  // namespace testhost
