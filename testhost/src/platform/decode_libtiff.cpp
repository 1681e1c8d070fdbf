// Decodes bitmap files with libtiff: size and pixels.
#include <tiffio.h>

#include "testhost/bitmaps.h"

namespace testhost {

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
