#include "testhost/commands.h"

#include "testhost/kernel.h"
#include "testhost/plugin_calls.h"
#include "testhost/scene.h"

namespace testhost {

namespace {

// The function a member pointer names for `object`, and the adjusted receiver.
void* Resolve(const MemberPointer& member, void* object, void** receiver) {
  char* self = static_cast<char*>(object) + member.adjustment;
  *receiver = self;
  if (registration::kMemberPointerSize == 8 || (member.pointer & 1) == 0) return reinterpret_cast<void*>(member.pointer);
  const char* table = *reinterpret_cast<char* const*>(self);
  return *reinterpret_cast<void* const*>(table + member.pointer - 1);
}

// A string returned by value: the object is built in a slot the caller provides.
struct ReturnedString {
  FrameworkObject* object = nullptr;
  ~ReturnedString() {}  // not trivial: returned through a slot, as the plug-in's string is
};

}  // namespace

MemberPointer VirtualMember(std::size_t slot) {
  return MemberPointer{1 + slot * registration::kVirtualSlotSize, 0};
}

MemberPointer ReadMemberPointer(const unsigned char* record, std::size_t offset) {
  if (registration::kMemberPointerSize == 8) return MemberPointer{ReadAt<std::uintptr_t>(record, offset), 0};
  return ReadAt<MemberPointer>(record, offset);
}

long VirtualSlotOf(const MemberPointer& member) {
  if (member.adjustment != 0 || member.pointer == 0) return -1;
  if (registration::kMemberPointerSize == 16)
    return (member.pointer & 1) != 0 ? static_cast<long>((member.pointer - 1) / registration::kVirtualSlotSize) : -1;
  // One code word: a virtual call thunk, "mov rax, [rcx]; mov rax, [rax + d]; jmp rax".
  const auto* code = reinterpret_cast<const unsigned char*>(member.pointer);
  if (code[0] != 0x48 || code[1] != 0x8b || code[2] != 0x01 || code[3] != 0x48 || code[4] != 0x8b) return -1;
  long displacement = 0;
  std::size_t next = 0;
  if (code[5] == 0x00) {
    next = 6;
  } else if (code[5] == 0x40) {
    displacement = static_cast<signed char>(code[6]);
    next = 7;
  } else if (code[5] == 0x80) {
    displacement = ReadAt<std::int32_t>(code, 6);
    next = 10;
  } else {
    return -1;
  }
  if (code[next] != 0x48 || code[next + 1] != 0xff || code[next + 2] != 0xe0) return -1;
  return displacement >= 0 && displacement % 8 == 0 ? displacement / 8 : -1;
}

RegisteredCommand& Commands::Register(std::int32_t id, const std::string& name, const unsigned char* record) {
  RegisteredCommand command;
  command.type = kPluginTypeCommand;
  command.id = id;
  command.size = static_cast<std::int32_t>(registration::kSize);
  command.name = name;
  command.record.assign(record, record + registration::kSize);
  command.info = ReadAt<std::int32_t>(record, registration::kInfo);
  command.destroy = ReadMemberPointer(record, registration::kDestroy);
  command.data = ReadAt<void*>(record, registration::kData);
  if (auto* help = ReadAt<FrameworkObject* const*>(record, registration::kHelp))
    command.help = kernel_.StringText(*help);
  // The icon is the caller's, freed right after the call; the host keeps a copy.
  if (const Bitmap* icon = bitmaps_.Find(ReadAt<void*>(record, registration::kIcon)))
    command.icon = std::make_unique<Bitmap>(*icon);
  for (int operation = 1; operation <= 8; ++operation)
    command.operations[static_cast<std::size_t>(operation)] =
        ReadMemberPointer(record, registration::kOperation[operation]);
  // From the registration on, the command object is the host's, accepted or not:
  // the plug-in gets it back only through the destroy routine the host calls at
  // unload.
  if (objects_.IsPluginOwned(command.data)) objects_.Transfer(command.data, Owner::kHost, "");
  registered_.push_back(std::move(command));
  return registered_.back();
}

RegisteredCommand* Commands::ById(std::int32_t id) {
  for (RegisteredCommand& command : registered_)
    if (command.id == id && !command.destroyed && !command.refused) return &command;
  return nullptr;
}

std::size_t Commands::Refused() const {
  std::size_t held = 0;
  for (const RegisteredCommand& command : registered_) held += command.refused && !command.destroyed ? 1 : 0;
  return held;
}

// Calls operation `number` of a command through its member pointer, as the host does.
template <typename R, typename... A>
R Commands::Call(RegisteredCommand& command, int number, A... args) {
  void* self = nullptr;
  void* function = Resolve(command.operations[static_cast<std::size_t>(number)], command.data, &self);
  return calls_.Into([&] { return reinterpret_cast<R (*)(void*, A...)>(function)(self, args...); });
}

bool Commands::Run(RegisteredCommand& command) {
  return Call<bool>(command, 1, static_cast<void*>(scene_.ActiveDocument()), static_cast<void*>(nullptr));
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
  calls_.Into([&] {
    // A member function returning an object by value writes it to a slot the
    // caller passes: before the object on the two-word ABI, after it on Windows.
    if (registration::kMemberPointerSize == 8)
      reinterpret_cast<void* (*)(void*, ReturnedString*)>(function)(self, &text);
    else
      reinterpret_cast<void (*)(ReturnedString*, void*)>(function)(&text, self);
    return 0;
  });
  std::string value = kernel_.StringText(text.object);
  kernel_.DropReference(text.object);
  return value;
}

void Commands::DestroyAll() {
  for (RegisteredCommand& command : registered_) {
    if (command.destroyed) continue;
    command.destroyed = true;
    const auto routine = reinterpret_cast<void (*)(void*)>(command.destroy.pointer);
    if (objects_.IsLive(command.data))
      objects_.Transfer(command.data, Owner::kPlugin, "net.hostapp.system.Free");
    calls_.Into([&] {
      routine(command.data);
      return 0;
    });
  }
}

}  // namespace testhost
