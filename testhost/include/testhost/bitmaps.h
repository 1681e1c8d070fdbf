#pragma once
// Bitmaps the test host makes for the plug-in and decodes from image files. A
// bitmap belongs to the plug-in from BitmapAlloc until it gives it back through
// BitmapFree.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testhost {

class Ownership;

struct Bitmap {
  std::string file;  // the image file it was loaded from
  std::int32_t width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // ABGR, as the image library reads them
  std::map<std::int32_t, std::pair<std::int32_t, std::int64_t>> data;  // id -> typed value (kind, bits)
  double ScaleFactor() const;  // data id 100 as a float, 0 when absent
};

class Bitmaps {
 public:
  explicit Bitmaps(Ownership& objects) : objects_(objects) {}

  Bitmap* New();
  // The plug-in gives a bitmap back through `route`; false (and a failure naming
  // it) when it may not, and then nothing is freed.
  bool Free(const void* bitmap, const std::string& route);
  Bitmap* Find(const void* bitmap);  // a live bitmap, or null
  std::size_t Live() const { return bitmaps_.size(); }
  int Made() const { return made_; }
  // Reads an image file into a bitmap for the plug-in; false when it does not decode.
  bool Load(Bitmap& bitmap, const std::string& file);
  static bool Decode(Bitmap& bitmap, const std::string& file);

  // Every image file the plug-in asked to load, in order.
  std::vector<std::string> filesAsked;

 private:
  Ownership& objects_;
  std::map<const void*, std::unique_ptr<Bitmap>> bitmaps_;
  // The latest freed bitmaps, kept so that their addresses are not reused at once.
  std::deque<std::unique_ptr<Bitmap>> freed_;
  int made_ = 0;
};

}  // namespace testhost
