// Reads bitmap files where libtiff is not available (the Windows test host): the
// TIFF header and first directory give the size; the pixels stay undecoded.
#include <fstream>
#include <iterator>

#include "testhost/bitmaps.h"

namespace testhost {

namespace {

struct TiffReader {
  std::vector<unsigned char> bytes;
  bool little = true;
  bool Has(std::size_t at, std::size_t n) const { return at + n <= bytes.size(); }
  std::uint32_t Word(std::size_t at, std::size_t n) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < n; ++i)
      value |= std::uint32_t{bytes[at + (little ? i : n - 1 - i)]} << (8 * i);
    return value;
  }
};

constexpr std::uint32_t kImageWidth = 256, kImageLength = 257;
constexpr std::uint32_t kShort = 3, kLong = 4;

}  // namespace

bool Bitmaps::Decode(Bitmap& bitmap, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  TiffReader tiff{{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
  if (!tiff.Has(0, 8)) return false;
  if (tiff.bytes[0] == 'I' && tiff.bytes[1] == 'I') tiff.little = true;
  else if (tiff.bytes[0] == 'M' && tiff.bytes[1] == 'M') tiff.little = false;
  else return false;
  if (tiff.Word(2, 2) != 42) return false;
  const std::size_t directory = tiff.Word(4, 4);
  if (!tiff.Has(directory, 2)) return false;
  const std::uint32_t entries = tiff.Word(directory, 2);
  std::uint32_t width = 0, height = 0;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + 12 * std::size_t{i};
    if (!tiff.Has(entry, 12)) return false;
    const std::uint32_t tag = tiff.Word(entry, 2), type = tiff.Word(entry + 2, 2);
    if (type != kShort && type != kLong) continue;
    const std::uint32_t value = tiff.Word(entry + 8, type == kShort ? 2 : 4);
    if (tag == kImageWidth) width = value;
    if (tag == kImageLength) height = value;
  }
  if (width == 0 || height == 0) return false;
  bitmap.file = file;
  bitmap.width = static_cast<std::int32_t>(width);
  bitmap.height = static_cast<std::int32_t>(height);
  return true;
}

}  // namespace testhost
