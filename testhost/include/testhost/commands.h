#pragma once
// Commands the plug-in registered: the host reads the registration record by byte
// offset, copies what it keeps, and later calls the command through the member
// pointers of the record and ends it through the record's destroy routine.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "testhost/bitmaps.h"

namespace testhost {

class Bitmaps;
class Kernel;
class Ownership;
class PluginCalls;
class Scene;

// A member pointer as the compiler lays it out: function (or 1 + table offset)
// and receiver adjustment.
struct MemberPointer {
  std::uintptr_t pointer;
  std::intptr_t adjustment;
  friend bool operator==(const MemberPointer&, const MemberPointer&) = default;
};
// The member pointer to the virtual function in slot `slot` of a class's table, in
// the two-word layout.
MemberPointer VirtualMember(std::size_t slot);
// A member pointer as it stands in a record: two words, or on Windows one code word.
MemberPointer ReadMemberPointer(const unsigned char* record, std::size_t offset);
// The virtual-table slot a member pointer calls with no receiver adjustment, or -1
// when it names something else (a plain function, an adjusted receiver, other code).
long VirtualSlotOf(const MemberPointer& member);

struct RegisteredCommand {
  std::int32_t type = 0, id = 0, info = 0, size = 0;
  std::string name, help;
  std::unique_ptr<Bitmap> icon;  // the host's own copy
  void* data = nullptr;
  MemberPointer destroy{};
  std::array<MemberPointer, 9> operations{};  // by operation number 1 to 8
  std::vector<unsigned char> record;          // the bytes as handed over
  bool refused = false;  // the host answered false: kept, never called, ended at unload
  bool destroyed = false;
};

class Commands {
 public:
  Commands(Kernel& kernel, Ownership& objects, Bitmaps& bitmaps, Scene& scene, PluginCalls& calls)
      : kernel_(kernel), objects_(objects), bitmaps_(bitmaps), scene_(scene), calls_(calls) {}

  // Takes a command registration (the entry has checked the record): reads it by
  // byte offset and copies the name, the help text and the icon.
  RegisteredCommand& Register(std::int32_t id, const std::string& name, const unsigned char* record);
  std::vector<RegisteredCommand>& Registered() { return registered_; }
  RegisteredCommand* ById(std::int32_t id);  // an accepted command not yet destroyed
  // Commands the host refused and still holds.
  std::size_t Refused() const;

  // The host's calls into a registered command, as the user or the layout makes them.
  bool Run(RegisteredCommand& command);
  std::int32_t QueryState(RegisteredCommand& command);
  bool Restore(RegisteredCommand& command, void* token);
  std::string QueryText(RegisteredCommand& command);
  bool CallFurther(RegisteredCommand& command, int operation);  // operations 2, 3, 5, 8
  // Unloading plug-ins: every command goes through its destroy routine.
  void DestroyAll();

 private:
  template <typename R, typename... A>
  R Call(RegisteredCommand& command, int number, A... args);

  Kernel& kernel_;
  Ownership& objects_;
  Bitmaps& bitmaps_;
  Scene& scene_;
  PluginCalls& calls_;
  std::vector<RegisteredCommand> registered_;
};

}  // namespace testhost
