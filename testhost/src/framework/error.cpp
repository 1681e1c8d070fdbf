// The error classes' methods the module calls through object dispatch.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

constexpr MethodId kSetLocation{published::Error::kName, "SetLocation"};
constexpr MethodId kGetMessage{published::Error::kName, "GetMessage"};

// Prototypes are never stamped: only an error the caller owns alone may be changed.
void SetLocation(void* self, const Location* where) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.Check(kernel.IsLiveObject(self), "self", "must be a live error")) return;
  contract.Check(kernel.Objects().IsPluginOwned(self), "self", "must not be a host prototype");
  contract.Check(kernel.Count(self) < 24, "self", "must be unshared");
  if (!contract.NotNull(where, "where")) return;
  auto* error = static_cast<ErrorValue*>(self);
  error->location = *where;
  error->located = true;
}

Result<FrameworkObject*> GetMessage(const void* self) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.Check(kernel.IsLiveObject(self), "self", "must be a live error"))
    return {kernel.PluginError(error::kNullPointer, Describe(kGetMessage)), nullptr};
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kGetMessage)), nullptr};
  return {nullptr, kernel.NewString(*static_cast<const ErrorValue*>(self)->message, Owner::kPlugin,
                                    Describe(kGetMessage))};
}

}  // namespace

void* ErrorSetLocationMethod() { return Recorded<kSetLocation, &SetLocation, kAnyThread>(); }
void* ErrorGetMessageMethod() { return Recorded<kGetMessage, &GetMessage, kAnyThread>(); }

}  // namespace testhost
