// The string conversion interface: numbers appended as text, and message formatting.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::StringConversion;
constexpr MethodId kAppendInt{I::kName, "AppendInt"};
constexpr MethodId kAppendUnsigned{I::kName, "AppendInt (unsigned)"};
constexpr MethodId kFormatMessage{I::kName, "FormatMessage"};

// The target must be a string the caller made writable.
StringValue* Target(FrameworkObject* string) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.Check(string != nullptr && kernel.IsLiveObject(string) && kernel.Objects().IsPluginOwned(string),
                      "string", "must be the caller's own live string"))
    return nullptr;
  contract.Check(kernel.Count(string) < 24, "string", "must be writable (unshared)");
  return reinterpret_cast<StringValue*>(string);
}

template <typename T>
ErrorHandle Append(FrameworkObject* string, T value, std::int32_t size, const FrameworkObject* format,
                   const MethodId& method) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  contract.Is(size, 8, "size");
  contract.Null(format, "format");
  StringValue* target = Target(string);
  if (target == nullptr) return kernel.PluginError(error::kNullPointer, Describe(method));
  if (kernel.ConversionFails()) return kernel.PluginError(error::kIllegalState, Describe(method));
  *target->text += std::to_string(value);
  return nullptr;
}

ErrorHandle AppendInt(FrameworkObject* string, std::int64_t value, std::int32_t size, const FrameworkObject* format) {
  return Append(string, value, size, format, kAppendInt);
}

ErrorHandle AppendUnsigned(FrameworkObject* string, std::uint64_t value, std::int32_t size,
                           const FrameworkObject* format) {
  return Append(string, value, size, format, kAppendUnsigned);
}

using TextForm = Result<FrameworkObject*> (*)(const void* argument);

Result<FrameworkObject*> FormatMessage(const char* format, std::int64_t count, const void* const* arguments,
                                       const TextForm* forms) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.NotNull(format, "format") || !contract.Check(count >= 0, "count", "must not be negative") ||
      (count > 0 && (!contract.NotNull(arguments, "arguments") || !contract.NotNull(forms, "forms"))))
    return {kernel.PluginError(error::kIllegalArgument, Describe(kFormatMessage)), nullptr};
  if (kernel.ConversionFails()) return {kernel.PluginError(error::kIllegalState, Describe(kFormatMessage)), nullptr};
  std::string text;
  std::int64_t next = 0;
  for (const char* at = format; *at != '\0'; ++at) {
    if (*at != '@' || next >= count) {
      text += *at;
      continue;
    }
    const Result<FrameworkObject*> form = forms[next](arguments[next]);
    ++next;
    text += kernel.StringText(form.value);
    // The text form is the host's to release: it asked for it.
    if (form.value != nullptr) kernel.DropReference(form.value);
    if (form.error != nullptr) kernel.DropReference(form.error);
  }
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kFormatMessage)), nullptr};
  return {nullptr, kernel.NewString(text, Owner::kPlugin, Describe(kFormatMessage))};
}

}  // namespace

void PublishStringConversion(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kAppendInt, &AppendInt, kAnyThread>(), Recorded<kAppendUnsigned, &AppendUnsigned, kAnyThread>(),
                          Recorded<kFormatMessage, &FormatMessage, kAnyThread>()});
}

}  // namespace testhost
