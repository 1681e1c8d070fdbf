#include "testhost/commands.h"

#include <tiffio.h>

#include <cstring>

#include "testhost/host.h"

namespace testhost {

namespace {

constexpr std::int32_t kCommandType = 4;
constexpr std::int32_t kCommandRecordSize = 768;


// Offsets in the command registration record.
constexpr std::size_t kInfo = 0, kDestroy = 8, kData = 128, kHelp = 256, kIcon = 264;
constexpr std::size_t kOperationOffset[9] = {0, 272, 368, 400, 288, 352, 304, 336, 384};

template <typename T>
T Read(const unsigned char* record, std::size_t offset) {
  T value;
  std::memcpy(&value, record + offset, sizeof(value));
  return value;
}

// The function a member pointer names for `object`, and the adjusted receiver.
void* Resolve(const MemberPointer& member, void* object, void** receiver) {
  char* self = static_cast<char*>(object) + member.adjustment;
  *receiver = self;
  if ((member.pointer & 1) == 0) return reinterpret_cast<void*>(member.pointer);
  const char* table = *reinterpret_cast<char* const*>(self);
  return *reinterpret_cast<void* const*>(table + member.pointer - 1);
}

// A string returned by value: the object is built in a slot the caller provides.
struct ReturnedString {
  FrameworkObject* object = nullptr;
  ~ReturnedString() {}  // not trivial: returned through a slot, as the plug-in's string is
};

}  // namespace

double Bitmap::ScaleFactor() const {
  auto found = data.find(100);
  if (found == data.end() || found->second.first != kValueFloat64) return 0;
  double value;
  std::memcpy(&value, &found->second.second, sizeof(value));
  return value;
}

Bitmap* Commands::NewBitmap() {
  auto bitmap = std::make_unique<Bitmap>();
  Bitmap* raw = bitmap.get();
  bitmaps_[raw] = std::move(bitmap);
  ++bitmapsMade_;
  return raw;
}

void Commands::FreeBitmap(Bitmap* bitmap) {
  if (bitmaps_.erase(bitmap) == 0) host_.Fail("freeing a bitmap the host does not know (or freeing it twice)");
}

bool Commands::Decode(Bitmap& bitmap, const std::string& file) {
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
  bitmap.width = static_cast<std::int32_t>(width);
  bitmap.height = static_cast<std::int32_t>(height);
  bitmap.pixels = std::move(pixels);
  return true;
}

bool Commands::Register(std::int32_t version, std::int32_t type, std::int32_t id, const std::string& name,
                        const unsigned char* record, std::int32_t size) {
  if (version != 2024000) host_.Fail("registration with interface version " + std::to_string(version));
  if (type != kCommandType || size != kCommandRecordSize || record == nullptr) {
    host_.Fail("a registration this host does not take: type " + std::to_string(type) + ", size " +
               std::to_string(size));
    return false;
  }
  RegisteredCommand command;
  command.type = type;
  command.id = id;
  command.size = size;
  command.name = name;
  command.record.assign(record, record + size);
  command.info = Read<std::int32_t>(record, kInfo);
  command.destroy = Read<MemberPointer>(record, kDestroy);
  command.data = Read<void*>(record, kData);
  if (auto* help = Read<FrameworkObject* const*>(record, kHelp))
    command.help = host_.Framework().StringText(*help);
  // The icon is the caller's; the host keeps a copy of its own.
  if (auto* icon = Read<Bitmap*>(record, kIcon)) {
    if (!IsLive(icon)) host_.Fail("the registration names a bitmap the host does not know");
    else command.icon = std::make_unique<Bitmap>(*icon);
  }
  for (int operation = 1; operation <= 8; ++operation)
    command.operations[static_cast<std::size_t>(operation)] =
        Read<MemberPointer>(record, kOperationOffset[operation]);
  registered_.push_back(std::move(command));
  return true;
}

RegisteredCommand* Commands::ById(std::int32_t id) {
  for (RegisteredCommand& command : registered_)
    if (command.id == id && !command.destroyed) return &command;
  return nullptr;
}

// Calls operation `number` of a command through its member pointer, as the host does.
template <typename R, typename... A>
R Commands::Call(RegisteredCommand& command, int number, A... args) {
  void* self = nullptr;
  void* function = Resolve(command.operations[static_cast<std::size_t>(number)], command.data, &self);
  return host_.IntoPlugin([&] { return reinterpret_cast<R (*)(void*, A...)>(function)(self, args...); });
}

bool Commands::Run(RegisteredCommand& command) {
  return Call<bool>(command, 1, static_cast<void*>(host_.SceneModel().ActiveDocument()), static_cast<void*>(nullptr));
}

std::int32_t Commands::QueryState(RegisteredCommand& command) {
  return Call<std::int32_t>(command, 4, static_cast<void*>(nullptr), static_cast<void*>(nullptr));
}

bool Commands::Restore(RegisteredCommand& command, void* token) { return Call<bool>(command, 6, token); }

bool Commands::CallFurther(RegisteredCommand& command, int operation) {
  return Call<bool>(command, operation, static_cast<void*>(nullptr), static_cast<void*>(nullptr));
}

std::string Commands::QueryText(RegisteredCommand& command) {
  void* self = nullptr;
  void* function = Resolve(command.operations[7], command.data, &self);
  ReturnedString text;
  host_.IntoPlugin([&] {
    reinterpret_cast<void (*)(ReturnedString*, void*)>(function)(&text, self);
    return 0;
  });
  std::string value = host_.Framework().StringText(text.object);
  host_.Framework().DropReference(text.object);
  return value;
}

void Commands::DestroyAll() {
  for (RegisteredCommand& command : registered_) {
    if (command.destroyed) continue;
    command.destroyed = true;
    const auto routine = reinterpret_cast<void (*)(void*)>(command.destroy.pointer);
    host_.IntoPlugin([&] {
      routine(command.data);
      return 0;
    });
  }
}

namespace {

Commands& C() { return Host::Current().CommandModel(); }

Bitmap* BitmapAllocEntry() { return C().NewBitmap(); }
void BitmapFreeEntry(Bitmap* bitmap) { C().FreeBitmap(bitmap); }

std::int32_t BitmapInitEntry(Bitmap* bitmap, const PathValue* const* path, std::int32_t, void*) {
  if (!C().IsLive(bitmap)) {
    Host::Current().Fail("loading into a bitmap the host does not know");
    return 0;
  }
  const std::string file = path != nullptr && *path != nullptr ? (*path)->text : std::string();
  return Commands::Decode(*bitmap, file) ? 1 : 0;
}

struct TypedValueWords {
  std::int32_t kind;
  std::int32_t padding;
  std::int64_t value;
};

void BitmapSetDataEntry(Bitmap* bitmap, std::int32_t id, const TypedValueWords* value) {
  if (!C().IsLive(bitmap) || value == nullptr) return;
  bitmap->data[id] = {value->kind, value->value};
}

bool RegisterEntry(std::int32_t version, std::int32_t type, std::int32_t id, FrameworkObject* const* name,
                   const unsigned char* record, std::int32_t size) {
  const std::string text = name != nullptr ? Host::Current().Framework().StringText(*name) : std::string();
  return C().Register(version, type, id, text, record, size);
}

}  // namespace

void InstallCommandEntries(Host& host) {
  Install<entry::BitmapAlloc, &BitmapAllocEntry>(host);
  Install<entry::BitmapFree, &BitmapFreeEntry>(host);
  Install<entry::BitmapInitFromFile, &BitmapInitEntry>(host);
  Install<entry::BitmapSetData, &BitmapSetDataEntry>(host);
  Install<entry::RegisterPluginRecord, &RegisterEntry>(host);
}

}  // namespace testhost
