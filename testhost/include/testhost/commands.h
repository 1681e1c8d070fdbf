#pragma once
// Bitmaps the test host decodes from image files, and the plug-in registration
// entry: it copies what it keeps and later calls the command through the member
// pointers of the record.
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace testhost {

class Host;

struct Bitmap {
  std::int32_t width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // ABGR, as the image library reads them
  std::map<std::int32_t, std::pair<std::int32_t, std::int64_t>> data;  // id -> typed value
  double ScaleFactor() const;  // data id 100 as a float, 0 when absent
};

// A member pointer as the compiler lays it out: function (or 1 + table offset)
// and receiver adjustment.
struct MemberPointer {
  std::uintptr_t pointer;
  std::intptr_t adjustment;
};

struct RegisteredCommand {
  std::int32_t type = 0, id = 0, info = 0, size = 0;
  std::string name, help;
  std::unique_ptr<Bitmap> icon;  // the host's own copy
  void* data = nullptr;
  MemberPointer destroy{};
  std::array<MemberPointer, 9> operations{};  // by operation number 1 to 8
  std::vector<unsigned char> record;          // the bytes as handed over
  bool destroyed = false;
};

class Commands {
 public:
  explicit Commands(Host& host) : host_(host) {}

  // --- bitmaps ---
  Bitmap* NewBitmap();
  void FreeBitmap(Bitmap* bitmap);
  bool IsLive(const Bitmap* bitmap) const { return bitmaps_.count(bitmap) != 0; }
  std::size_t LiveBitmaps() const { return bitmaps_.size(); }
  int BitmapsMade() const { return bitmapsMade_; }
  static bool Decode(Bitmap& bitmap, const std::string& file);

  // --- registrations ---
  bool Register(std::int32_t version, std::int32_t type, std::int32_t id, const std::string& name,
                const unsigned char* record, std::int32_t size);
  std::vector<RegisteredCommand>& Registered() { return registered_; }
  RegisteredCommand* ById(std::int32_t id);

  // The host's calls into a registered command, as the user or the layout makes them.
  bool Run(RegisteredCommand& command);
  std::int32_t QueryState(RegisteredCommand& command);
  bool Restore(RegisteredCommand& command, void* token);
  std::string QueryText(RegisteredCommand& command);
  bool CallFurther(RegisteredCommand& command, int operation);  // operations 2, 3, 5, 8
  // Unloading plug-ins: every command goes through its destroy routine.
  void DestroyAll();

  // The token the host hands over when it rebuilds a saved layout.
  int layoutToken = 0;

 private:
  template <typename R, typename... A>
  R Call(RegisteredCommand& command, int number, A... args);

  Host& host_;
  std::map<const Bitmap*, std::unique_ptr<Bitmap>> bitmaps_;
  int bitmapsMade_ = 0;
  std::vector<RegisteredCommand> registered_;
};

void InstallCommandEntries(Host& host);

}  // namespace testhost
