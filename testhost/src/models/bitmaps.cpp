#include "testhost/bitmaps.h"

#include <tiffio.h>

#include <cstring>

#include "testhost/host.h"

namespace testhost {

double Bitmap::ScaleFactor() const {
  auto found = data.find(kBitmapScaleFactor);
  if (found == data.end() || found->second.first != kValueFloat64) return 0;
  double value;
  std::memcpy(&value, &found->second.second, sizeof(value));
  return value;
}

Bitmap* Bitmaps::New() {
  auto bitmap = std::make_unique<Bitmap>();
  Bitmap* raw = bitmap.get();
  bitmaps_[raw] = std::move(bitmap);
  ++made_;
  host_.Objects().HandOut(raw, "bitmap", Owner::kPlugin, Describe(entry::BitmapAlloc), Describe(entry::BitmapFree));
  return raw;
}

bool Bitmaps::Free(const void* bitmap, const std::string& route) {
  if (!host_.Objects().GiveBack(bitmap, route)) return false;
  auto found = bitmaps_.find(bitmap);
  if (found == bitmaps_.end()) return false;
  freed_.push_back(std::move(found->second));
  bitmaps_.erase(found);
  return true;
}

Bitmap* Bitmaps::Find(const void* bitmap) {
  auto found = bitmaps_.find(bitmap);
  return found != bitmaps_.end() ? found->second.get() : nullptr;
}

bool Bitmaps::Decode(Bitmap& bitmap, const std::string& file) {
  TIFFSetErrorHandler(nullptr);
  TIFFSetWarningHandler(nullptr);
  TIFF* tiff = TIFFOpen(file.c_str(), "r");
  if (tiff == nullptr) return false;
  std::uint32_t width = 0, height = 0;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const bool read = width > 0 && height > 0 && TIFFReadRGBAImageOriented(tiff, width, height, pixels.data(),
                                                                         ORIENTATION_TOPLEFT, 0) == 1;
  TIFFClose(tiff);
  if (!read) return false;
  bitmap.file = file;
  bitmap.width = static_cast<std::int32_t>(width);
  bitmap.height = static_cast<std::int32_t>(height);
  bitmap.pixels = std::move(pixels);
  return true;
}

}  // namespace testhost
