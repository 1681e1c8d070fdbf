// The system interface: framework memory, freeing and cloning objects, console
// output and configuration registration.
#include <cstring>

#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::System;
constexpr MethodId kAlloc{I::kName, "Alloc"};
constexpr MethodId kRealloc{I::kName, "Realloc"};
constexpr MethodId kFree{I::kName, "Free"};
constexpr MethodId kFreeWithDestructor{I::kName, "PrivateFreeWithDestructor"};
constexpr MethodId kClone{I::kName, "PrivateCloneObject"};
constexpr MethodId kConsoleOutput{I::kName, "_ConsoleOutput"};
constexpr MethodId kConsoleOutputType{I::kName, "GetConsoleOutputType"};
constexpr MethodId kConfigurationRegister{I::kName, "ConfigurationRegister"};

const std::string kFreeRoute = Describe(kFree);

bool LocationGiven(Contract& contract, const Location* where) {
  return contract.NotNull(where, "where") && contract.NotNull(where->file, "where.file");
}

void* Alloc(std::size_t size, const Location* where) {
  Contract contract;
  LocationGiven(contract, where);
  contract.Check(size > 0, "size", "must not be 0");
  if (!CurrentKernel().TakeAllocation()) return nullptr;
  return CurrentKernel().Allocate(size, where, kFreeRoute);
}

void* Realloc(void* block, std::size_t size, const Location* where) {
  Contract contract;
  LocationGiven(contract, where);
  Kernel& kernel = CurrentKernel();
  if (block != nullptr && !contract.Check(kernel.IsBlock(block), "block", "must be live framework memory or null"))
    return nullptr;
  if (!kernel.TakeAllocation()) return nullptr;
  void* moved = kernel.Allocate(size, where, kFreeRoute);
  if (block != nullptr) {
    std::memcpy(moved, block, std::min(size, kernel.BlockSize(block)));
    kernel.Release(block, Describe(kRealloc));
  }
  return moved;
}

void Free(void* block) {
  Contract contract;
  if (!contract.NotNull(block, "block")) return;
  CurrentKernel().Release(block, kFreeRoute);
}

// Ends an object through the routine given (which runs its destructor, or does
// nothing where there is nothing to end), then frees it: a framework object, or
// framework memory holding a plug-in object. The routine is always run, so it must
// be one.
void FreeWithDestructor(const void* object, void (*destructor)(void*)) {
  Contract contract;
  const bool routine = contract.NotNull(reinterpret_cast<const void*>(destructor), "destructor");
  if (!contract.NotNull(object, "object")) return;
  Kernel& kernel = CurrentKernel();
  if (kernel.IsLiveObject(object)) {
    // Not on an object the plug-in does not own: freeing it is the fault reported.
    if (routine && kernel.Objects().IsPluginOwned(object)) destructor(const_cast<void*>(object));
    kernel.FreeByPlugin(object, Describe(kFreeWithDestructor));
    return;
  }
  if (kernel.Objects().Find(object) != nullptr && !kernel.IsBlock(object)) {
    kernel.FreeByPlugin(object, Describe(kFreeWithDestructor));  // names what is wrong with it
    return;
  }
  if (!contract.Check(kernel.IsBlock(object), "object", "must be a framework object or framework memory")) return;
  if (routine) destructor(const_cast<void*>(object));
  kernel.Release(const_cast<void*>(object), Describe(kFreeWithDestructor));
}

void* Clone(const void* object) {
  Contract contract;
  Kernel& kernel = CurrentKernel();
  if (!contract.Check(kernel.IsLiveObject(object) && ReadAt<const std::uint8_t*>(object, 0) != kernel.PlainDescriptor(),
                      "object", "must be a live error object"))
    return nullptr;
  if (!kernel.TakeAllocation()) return nullptr;
  const auto* original = static_cast<const ErrorValue*>(object);
  ErrorValue* copy = kernel.NewError(original->code, Owner::kPlugin, Describe(kClone));
  copy->descriptor = original->descriptor;
  *copy->message = *original->message;
  copy->location = original->location;
  copy->located = original->located;
  return copy;
}

void ConsoleOutput(const char* text, const Location* where, std::uint32_t flags, std::int32_t fourth) {
  Contract contract;
  contract.NotNull(text, "text");
  contract.NotNull(where, "where");
  contract.Is(fourth, 0, "fourth");
  contract.Check((flags & 7u) != 0, "flags", "must name a level");
  CurrentKernel().Write(ConsoleWrite{text != nullptr ? text : "",
                                     where != nullptr && where->file != nullptr ? where->file : "",
                                     where != nullptr ? where->line : 0, flags});
}

std::uint32_t ConsoleOutputType() { return CurrentKernel().ConsoleOutputType(); }

void ConfigurationRegister(const void* entry) {
  Contract contract;
  if (!contract.NotNull(entry, "entry")) return;
  contract.NotNull(ReadAt<const char*>(entry, configuration::kName), "entry.name");
  contract.NotNull(ReadAt<const char*>(entry, configuration::kHelp), "entry.help");
  contract.NotNull(ReadAt<void*>(entry, configuration::kStorage), "entry.storage");
  const auto type = ReadAt<std::int32_t>(entry, configuration::kType);
  contract.Check(type == configuration::kBool || type == configuration::kValue || type == configuration::kValueAlt ||
                     type == configuration::kCrashState,
                 "entry.type", "must be 1, 3, 4 or 5, was " + std::to_string(type));
  for (std::size_t at = configuration::kZero; at < configuration::kSize; ++at)
    if (!contract.Check(ReadAt<std::uint8_t>(entry, at) == 0, "entry", "must be zero from byte 32 on")) break;
  CurrentKernel().Register(entry);
}

}  // namespace

void PublishSystem(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kAlloc, &Alloc, kAnyThread>(), Recorded<kRealloc, &Realloc, kAnyThread>(), Recorded<kFree, &Free, kAnyThread>(),
                          Recorded<kFreeWithDestructor, &FreeWithDestructor, kAnyThread>(), Recorded<kClone, &Clone, kAnyThread>(),
                          Recorded<kConsoleOutput, &ConsoleOutput, kAnyThread>(),
                          Recorded<kConsoleOutputType, &ConsoleOutputType, kAnyThread>(),
                          Recorded<kConfigurationRegister, &ConfigurationRegister, kMainThread>()});
}

}  // namespace testhost
