// The data type library: the invalid type and data types by identifier.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::DataTypeLibrary;
constexpr MethodId kInvalidType{I::kName, "GetInvalidType"};
constexpr MethodId kDataType{I::kName, "GetDataType"};

const void* InvalidType() { return CurrentKernel().InvalidType(); }

Result<const void*> DataType(const IdValue* id) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  if (!contract.NotNull(id, "id")) return {kernel.PluginError(error::kNullPointer, Describe(kDataType)), nullptr};
  const int failure = kernel.DataTypeFailure();
  if (failure == Kernel::kUnregisteredDataType) {
    ErrorValue* error = kernel.NewError(error::kUnknown, Owner::kPlugin, Describe(kDataType));
    error->descriptor = kernel.UnregisteredDescriptor();
    *error->message = "unregistered data type";
    return {reinterpret_cast<ErrorHandle>(error), nullptr};
  }
  if (failure != 0) return {kernel.PluginError(failure, Describe(kDataType)), nullptr};
  if (IdText(*id) == published::decl::kInt32Type) return {nullptr, kernel.Int32Type()};
  return {kernel.PluginError(error::kIllegalArgument, Describe(kDataType)), nullptr};
}

}  // namespace

void PublishDataTypeLibrary(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kInvalidType, &InvalidType, kAnyThread>(), Recorded<kDataType, &DataType, kAnyThread>()});
}

}  // namespace testhost
