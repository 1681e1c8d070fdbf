#include "testhost/bitmaps.h"

#include <cstring>

#include "testhost/ownership.h"
#include "testhost/numbers.h"
#include "testhost/tables.h"

namespace testhost {

namespace {
constexpr std::size_t kReservedBitmaps = 1024;
}  // namespace

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
  objects_.HandOut(raw, "bitmap", Owner::kPlugin, Describe(entry::BitmapAlloc), Describe(entry::BitmapFree));
  return raw;
}

bool Bitmaps::Free(const void* bitmap, const std::string& route) {
  if (!objects_.GiveBack(bitmap, route)) return false;
  auto found = bitmaps_.find(bitmap);
  if (found == bitmaps_.end()) return false;
  freed_.push_back(std::move(found->second));
  if (freed_.size() > kReservedBitmaps) freed_.pop_front();
  bitmaps_.erase(found);
  return true;
}

bool Bitmaps::Load(Bitmap& bitmap, const std::string& file) {
  filesAsked.push_back(file);
  return Decode(bitmap, file);
}

Bitmap* Bitmaps::Find(const void* bitmap) {
  auto found = bitmaps_.find(bitmap);
  return found != bitmaps_.end() ? found->second.get() : nullptr;
}

}  // namespace testhost
