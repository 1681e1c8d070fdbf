// The application interface: machine information and where modules were loaded from.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::Application;
constexpr MethodId kMachineInfo{I::kName, "GetMachineInfo"};
constexpr MethodId kModuleLocation{I::kName, "GetModuleLocation"};

Result<FrameworkObject*> MachineInfo() {
  Kernel& kernel = CurrentKernel();
  if (!kernel.MachineInfo()) return {kernel.PluginError(error::kIllegalState, Describe(kMachineInfo)), nullptr};
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kMachineInfo)), nullptr};
  return {nullptr, kernel.NewDictionary(*kernel.MachineInfo(), Owner::kPlugin, Describe(kMachineInfo))};
}

Result<FrameworkObject*> ModuleLocation(const IdValue* module) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.NotNull(module, "module") || !contract.NotNull(module->text, "module.text"))
    return {kernel.PluginError(error::kNullPointer, Describe(kModuleLocation)), nullptr};
  contract.Check(module->word == MakeId(module->text).word, "module", "must be a well-formed identifier");
  auto found = kernel.moduleLocations.find(IdText(*module));
  if (found == kernel.moduleLocations.end())
    return {kernel.PluginError(error::kIllegalArgument, Describe(kModuleLocation)), nullptr};
  if (!kernel.TakeAllocation()) return {kernel.PluginError(error::kOutOfMemory, Describe(kModuleLocation)), nullptr};
  return {nullptr, kernel.NewString(found->second, Owner::kPlugin, Describe(kModuleLocation))};
}

}  // namespace

void PublishApplication(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kMachineInfo, &MachineInfo, kAnyThread>(), Recorded<kModuleLocation, &ModuleLocation, kAnyThread>()});
}

}  // namespace testhost
