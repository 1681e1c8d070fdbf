// The string interface: string objects made, filled, read and freed.
#include <cstring>

#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::String;
constexpr MethodId kFree{I::kName, "Free"};
constexpr MethodId kAllocEmpty{I::kName, "Alloc"};
constexpr MethodId kAllocCopy{I::kName, "Alloc (copy)"};
constexpr MethodId kGetCString{I::kName, "GetCString"};
constexpr MethodId kSetCString{I::kName, "SetCString"};

bool IsString(const void* string) {
  Kernel& kernel = CurrentKernel();
  return string != nullptr && kernel.IsLiveObject(string) &&
         ReadAt<const std::uint8_t*>(string, 0) == kernel.PlainDescriptor() &&
         kernel.Objects().Find(string)->kind.rfind("string", 0) == 0;
}

void Free(FrameworkObject* string) {
  Contract contract;
  if (!contract.NotNull(string, "string")) return;
  CurrentKernel().FreeByPlugin(string, Describe(kFree));
}

Result<FrameworkObject*> AllocEmpty(const Location* where) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  contract.NotNull(where, "where");
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kAllocEmpty)), nullptr};
  return {nullptr, kernel.NewString("", Owner::kPlugin, Describe(kAllocEmpty) + " at " + Describe(where))};
}

Result<FrameworkObject*> AllocCopy(const FrameworkObject* source, const Location* where) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  contract.NotNull(where, "where");
  if (!contract.Check(IsString(source), "source", "must be a live string"))
    return {kernel.PluginError(error::kNullPointer, Describe(kAllocCopy)), nullptr};
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kAllocCopy)), nullptr};
  return {nullptr, kernel.NewString(kernel.StringText(source), Owner::kPlugin,
                                    Describe(kAllocCopy) + " at " + Describe(where))};
}

Result<char*> GetCString(const FrameworkObject* string) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.Check(IsString(string), "string", "must be a live string"))
    return {kernel.PluginError(error::kNullPointer, Describe(kGetCString)), nullptr};
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kGetCString)), nullptr};
  const std::string text = kernel.StringText(string);
  const Location where{"the host's C text", 0, 0};
  auto* copy = static_cast<char*>(kernel.Allocate(text.size() + 1, &where, "net.hostapp.cstring.Free"));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return {nullptr, copy};
}

// Only a string the caller made writable (its own, unshared) may be set.
ErrorHandle SetCString(FrameworkObject* string, const char* text, std::int64_t length, const void* decoding) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.Check(IsString(string), "string", "must be a live string"))
    return kernel.PluginError(error::kNullPointer, Describe(kSetCString));
  contract.Check(kernel.Objects().IsPluginOwned(string) && kernel.Count(string) < 24, "string",
                 "must be the caller's own writable string");
  contract.NotNull(text, "text");
  contract.Is(length, -1, "length");
  contract.Check(decoding == nullptr || kernel.Objects().Find(decoding) != nullptr, "decoding",
                 "must be the host's decoding");
  auto* value = reinterpret_cast<StringValue*>(string);
  *value->text = text == nullptr ? "" : length < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(length));
  return nullptr;
}

}  // namespace

void PublishString(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kFree, &Free, kAnyThread>(), Recorded<kAllocEmpty, &AllocEmpty, kAnyThread>(),
                          Recorded<kAllocCopy, &AllocCopy, kAnyThread>(), Recorded<kGetCString, &GetCString, kAnyThread>(),
                          Recorded<kSetCString, &SetCString, kAnyThread>()});
}

}  // namespace testhost
