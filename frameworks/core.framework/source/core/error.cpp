#include "error.h"

#include "interfaces.h"
#include "object.h"
#include "refcount.h"
#include "registration.h"
#include "register.h"

namespace core {

DeclarationReference g_standardErrors[7];

namespace {

TranslationUnitRecord g_errorUnit;
[[maybe_unused]] auto& g_errorUnitRegistration = RegisterUnit(g_errorUnit, g_coreModule, kUnnamedUnit, 0);

int RegisterStandardErrors() {
  for (int code = 0; code < iface::errors::kStandardErrorCount; ++code)
    RegisterDeclaration(g_standardErrors[code], kEntityDeclaration, iface::errors::kPrototypes[code],
                        g_coreRegisterUnit, g_coreModule);
  return 0;
}
[[maybe_unused]] int g_standardErrorsRegistration = RegisterStandardErrors();

// Module-local errors stand in when the host provides no prototype, so a failure
// always surfaces as a non-null error. Their count word is so high that no release
// ever frees them, and their descriptor implements no interface.
struct alignas(8) LocalDescriptor {
  unsigned char bytes[kDescriptorSizeOffset];
  uint64_t size;
};
constexpr LocalDescriptor kLocalDescriptor{{}, sizeof(LocalDescriptor)};

struct LocalError {
  int64_t countWord;
  const LocalDescriptor* descriptor;
  const char* what;
};
LocalError g_localErrors[iface::errors::kStandardErrorCount] = {
    {int64_t{1} << 60, &kLocalDescriptor, "out of memory"},
    {int64_t{1} << 60, &kLocalDescriptor, "null pointer"},
    {int64_t{1} << 60, &kLocalDescriptor, "illegal argument"},
    {int64_t{1} << 60, &kLocalDescriptor, "illegal state"},
    {int64_t{1} << 60, &kLocalDescriptor, "function not implemented"},
    {int64_t{1} << 60, &kLocalDescriptor, "unresolved"},
    {int64_t{1} << 60, &kLocalDescriptor, "unknown"},
};

int CodeIndex(int code) { return code >= 0 && code < kErrorUnknown ? code : kErrorUnknown; }

}  // namespace

ErrorRef ModuleLocalError(int code) {
  return reinterpret_cast<ErrorRef>(&g_localErrors[CodeIndex(code)].descriptor);
}

bool IsModuleLocalError(ErrorRef error) {
  for (int code = 0; code < iface::errors::kStandardErrorCount; ++code)
    if (error == ModuleLocalError(code)) return true;
  return false;
}

const void* MakeUnshared(const void* object) {
  if (IsUnshared(object)) return object;
  void* copy = Method<iface::System, iface::System::PrivateCloneObject>(object);
  ReleaseObject(object);
  if (copy != nullptr) *CountWord(copy) = kReferenceUnit;
  return copy;
}

ErrorRef CreateError(const SourceLocation& where, int code) {
  const int index = CodeIndex(code);
  const void* prototype = ReadDeclaration(g_standardErrors[index], nullptr);
  if (prototype == nullptr) return ModuleLocalError(index);
  AddReference(prototype);
  const void* error = MakeUnshared(prototype);
  if (error == nullptr) return ModuleLocalError(index);
  ObjectMethod<iface::Error, iface::Error::SetLocation, iface::Error::SetLocationFn>{}(error, &where);
  return static_cast<ErrorRef>(error);
}

void ReleaseError(ErrorRef error) {
  if (error != nullptr) ReleaseObject(error);
}

}  // namespace core
