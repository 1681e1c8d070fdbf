#include "datatype.h"


#include "debugoutput.h"
#include "interfaces.h"
#include "object.h"
#include "refcount.h"
#include "register.h"
#include "registration.h"
#include "frameworkstring.h"

namespace core {

LazyDataTypeHolder g_int32Type;

namespace {

constexpr const char kDataTypeFile[] = "frameworks/core.framework/source/core/datatype.cpp";
constexpr int kInitializationReportLine = 39;

TranslationUnitRecord g_dataTypeUnit;
[[maybe_unused]] auto& g_unit = RegisterUnit(g_dataTypeUnit, g_coreModule, kUnnamedUnit, 0);

DeclarationReference g_int32Reference;
[[maybe_unused]] auto& g_int32Declaration = RegisterDeclaration(
    g_int32Reference, kEntityDataType, iface::decl::kInt32Type, g_coreRegisterUnit, g_coreModule);

Result<const DataTypeObject*> ProduceInt32() {
  return Method<iface::DataTypeLibrary, iface::DataTypeLibrary::GetDataType>(&g_int32Reference.head.id);
}
[[maybe_unused]] auto& g_int32Holder = RegisterDataTypeHolder(g_int32Type, g_coreModule, &ProduceInt32);

Result<StringObject*> ErrorTextForm(const void* error) {
  return ObjectMethod<iface::Error, iface::Error::GetMessage, iface::Error::GetMessageFn>{}(error);
}

uint32_t* FlagsWord(const DataTypeObject* type) {
  return reinterpret_cast<uint32_t*>(
      const_cast<char*>(reinterpret_cast<const char*>(type)) + kDataTypeFlagsOffset);
}

void ReportInitializationError(ErrorRef error) {
  const void* arguments[] = {error};
  const TextFormFunction forms[] = {&ErrorTextForm};
  const Result<StringObject*> message =
      Method<iface::StringConversion, iface::StringConversion::FormatMessage>(
          "Error while initializing data type: @", 1, arguments, forms);
  String text;
  *text.Slot() = message.value;  // the result's reference now belongs to `text`
  ReleaseError(message.error);
  OutputString(kOutputInfo, text, kInitializationReportLine, kDataTypeFile);
}

}  // namespace

bool IsStaticDataType(const DataTypeObject* type) {
  return type != nullptr && (*FlagsWord(type) & 1u) != 0;
}

LazyDataTypeHolder& RegisterDataTypeHolder(LazyDataTypeHolder& holder, ModuleEntry& module,
                                           DataTypeProducer producer) {
  holder.type = nullptr;
  holder.producer = producer;
  holder.next = module.dataTypes;
  module.dataTypes = &holder;
  return holder;
}

ErrorRef InitializeDataType(LazyDataTypeHolder& holder, bool report) {
  const Result<const DataTypeObject*> produced = holder.producer();
  if (produced.error == nullptr && produced.value != nullptr) {
    holder.type = produced.value;
    *FlagsWord(produced.value) |= 1u;  // never counted again
    return nullptr;
  }
  const ErrorRef error = produced.error != nullptr ? produced.error : PrivateGetNullReturnError(kNullReturnNullPointer);
  if (report && !Implements(error, ObjectBinding<iface::UnregisteredDataTypeError>::reference))
    ReportInitializationError(error);
  const DataTypeObject* invalid = Method<iface::DataTypeLibrary, iface::DataTypeLibrary::GetInvalidType>();
  if (invalid != nullptr && !IsStaticDataType(invalid)) AddReference(invalid);
  holder.type = invalid;
  return error;
}

const DataTypeObject* HeldDataType(LazyDataTypeHolder& holder) {
  if (holder.type == nullptr) ReleaseError(InitializeDataType(holder, true));
  return holder.type;
}

}  // namespace core
