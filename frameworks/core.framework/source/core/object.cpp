#include "object.h"

#include "debugglobals.h"
#include "debugoutput.h"
#include "interfaces.h"
#include "refcount.h"

namespace core {
namespace {

constexpr const char kObjectFile[] = "frameworks/core.framework/source/core/object.cpp";
constexpr int kMissingInitializerLine = 157;
constexpr int kUnresolvableLine = 396;
constexpr int kUnresolvableIdLine = 397;
constexpr int kStopLine = 398;

uint64_t ReadWord(const unsigned char* at) {
  uint64_t word;
  __builtin_memcpy(&word, at, sizeof(word));
  return word;
}

}  // namespace

bool IsBound(const FunctionTableReference& reference) {
  if ((reference.head.flags & kFlagResolved) == 0 || (reference.head.flags & kFlagResolveFailed) != 0)
    return false;
  const auto* definition = static_cast<const EntityRecord*>(reference.definition);
  return definition != nullptr && (definition->flags & kFlagResolved) != 0;
}

KernelInitializer FrameworkInitializer() {
  if (g_framework.initializer == nullptr) {
    DebugOutput(kOutputCriticalLocated, "Assertion failed: g_framework.GetInitializer()",
                kMissingInitializerLine, kObjectFile);
    DebugBreakIfEnabled();
  }
  return g_framework.initializer;
}

void ReportUnresolvableInterface(const EntityId& id) {
  char text[kDebugLocationBuffer];
  const size_t length = IdLength(id) < sizeof(text) - 1 ? IdLength(id) : sizeof(text) - 1;
  if (id.text != nullptr) __builtin_memcpy(text, id.text, length);
  text[id.text != nullptr ? length : 0] = '\0';
  DebugOutput(kOutputInfo | kOutputNoLineEnd, "Method invocation of unresolvable interface ",
              kUnresolvableLine, kObjectFile);
  DebugOutput(kOutputInfo, text, kUnresolvableIdLine, kObjectFile);
  DebugOutput(kOutputCriticalLocated, "Stop", kStopLine, kObjectFile);
  DebugBreakIfEnabled();
}

bool EnsureResolved(FunctionTableReference& reference, bool report) {
  const uint32_t failed = kFlagResolved | kFlagResolveFailed;
  if ((reference.head.flags & failed) == failed) return false;
  if (reference.definition != nullptr) {
    if (KernelInitializer initializer = FrameworkInitializer()) {
      ErrorRef error = nullptr;
      initializer(&error, reference.definition, &reference.head.id);
      if (error == nullptr) return true;
      ReleaseError(error);
    }
  }
  if (reference.onDemand != nullptr) {
    reference.onDemand(reference.table);
    return true;
  }
  if (!report) return false;
  ReportUnresolvableInterface(reference.head.id);
  return false;
}

const void* ReadDeclaration(DeclarationReference& reference, const void* fallback) {
  if (reference.value == nullptr) {
    if (KernelInitializer initializer = FrameworkInitializer()) {
      ErrorRef error = nullptr;
      initializer(&error, reference.definition, &reference.head.id);
      ReleaseError(error);
    }
  }
  if (reference.value != nullptr) return reference.value;
  if (reference.head.kind == kEntityDataType)
    return Method<iface::DataTypeLibrary, iface::DataTypeLibrary::GetInvalidType>();
  return fallback;
}

bool Implements(const void* object, const ObjectInterfaceReference& reference) {
  if (object == nullptr) return false;
  const auto* descriptor = *static_cast<const unsigned char* const*>(object);
  if (descriptor == nullptr) return false;
  const uint64_t size = ReadWord(descriptor + kDescriptorSizeOffset);
  const uint64_t offset = reference.methodOffset;
  return offset < size && descriptor[offset] != 0;
}

bool FindObjectMethod(const void* object, const ObjectInterfaceReference& reference, int slot,
                      ObjectMethodEntry& entry) {
  if (!Implements(object, reference)) return false;
  const auto* descriptor = *static_cast<const unsigned char* const*>(object);
  const uint64_t size = ReadWord(descriptor + kDescriptorSizeOffset);
  const uint64_t at = reference.methodOffset + 1 + kMethodEntrySize * uint64_t(slot);
  if (at + kMethodEntrySize > size) return false;
  __builtin_memcpy(&entry.function, descriptor + at, sizeof(entry.function));
  __builtin_memcpy(&entry.adjustment, descriptor + at + 8, sizeof(entry.adjustment));
  return entry.function != nullptr;
}

}  // namespace core

namespace core {

ErrorRef PrivateGetNullReturnError(int reason) {
  int code = kErrorNullPointer;
  switch (reason) {
    case kNullReturnNullPointer:
    case kNullReturnNullPointerAlt:
      break;
    case kNullReturnUnresolved:
      code = kErrorUnresolved;
      break;
    case kNullReturnNotImplemented:
      code = kErrorNotImplemented;
      break;
    default:
      DebugOutput(kOutputCriticalLocated, "Stop: reason not supported by PrivateGetNullReturnError.",
                  690, kObjectFile);
      DebugBreakIfEnabled();
      break;
  }
  // The prototype itself, without location; the module-local error stands in for a
  // missing one. The caller gets a reference of its own and releases it like any
  // other error, so the host's prototype outlives every release.
  const void* error = ReadDeclaration(g_standardErrors[code], ModuleLocalError(code));
  if (error != nullptr) AddReference(error);
  return static_cast<ErrorRef>(error);
}

}  // namespace core
