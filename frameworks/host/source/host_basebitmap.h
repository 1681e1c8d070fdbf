#pragma once
// Host bitmaps: the command's icon, loaded from the resource folder just for the
// registration.
#include <stdint.h>

#include "frameworkstring.h"
#include "host_container.h"
#include "operatingsystem.h"

struct BaseBitmap;

inline constexpr HostOp<&t_HostOS_Bm, 0, BaseBitmap*()> BitmapAlloc{};
inline constexpr HostOp<&t_HostOS_Bm, 8, void(BaseBitmap*)> BitmapFree{};
inline constexpr HostOp<&t_HostOS_Bm, 56, int32_t(BaseBitmap*, const PathSlot*, int32_t, void*)>
    BitmapInitFromFile{};
inline constexpr HostOp<&t_HostOS_Bm, 384, void(BaseBitmap*, int32_t, const GeValue*)> BitmapSetData{};

// Bitmap data id of the scale factor: pixel size over display size.
inline constexpr int32_t kBitmapScaleFactor = 100;
inline constexpr int32_t kImageLoaded = 1;

// Loads `name` from the resource folder into a new bitmap carrying `factor`; the
// slot holds the bitmap, or null when it could not be made or read.
BaseBitmap** LoadIconBitmap(BaseBitmap** slot, const core::String& name, double factor);

// Frees the bitmap in the slot, if there is one and the host can free it, and
// leaves the slot null.
void ReleaseBitmap(BaseBitmap** slot);
