#pragma once
// Binding of framework interfaces: function-table references with fallbacks,
// object-dispatch references, declaration references and the kernel's initializer.
#include "freestanding.h"
#include "platform.h"

#include "entityrecords.h"
#include "error.h"
#include "methodlist.h"

extern "C" STATLUME_EXPORT core::ModuleRecord g_framework;

namespace core {

// The static reference and method table of one function-table interface.
template <typename Interface>
struct TableBinding {
  static_assert(Interface::Methods::kCount == Interface::kMethodCount);
  static_assert(sizeof(Interface::kMethods) / sizeof(MethodDecl) == Interface::kMethodCount);
  static_assert(sizeof(Interface::kKinds) == Interface::kMethodCount);
  static inline FunctionTableReference reference{};
  static inline void* table[Interface::kMethodCount + 1]{};
  static constexpr const char* MethodNames() {
    return MethodNameList<Interface::kMethods>::kText.data();
  }
};

template <typename Interface>
struct ObjectBinding {
  static inline ObjectInterfaceReference reference{};
};

// Whether the kernel bound a reference: it and its definition carry the resolved bit.
bool IsBound(const FunctionTableReference& reference);

// Gives the kernel one more chance to resolve an unbound reference. With `report`,
// writes the unresolvable-interface lines (and breaks into an attached debugger)
// when it cannot.
bool EnsureResolved(FunctionTableReference& reference, bool report);
void ReportUnresolvableInterface(const EntityId& id);

// The kernel's initializer, or the assertion line when the kernel gave none.
KernelInitializer FrameworkInitializer();

// Reads a declaration reference: the resolved value, else for a data type the
// library's invalid type, else `fallback`.
const void* ReadDeclaration(DeclarationReference& reference, const void* fallback);

// Neutral answers of unbound methods. Those that return a result carry the
// unresolved error, which the receiver owns like any other.
template <typename R>
struct MethodResult {
  static constexpr bool kIsResult = false;
  static R Neutral() {
    if constexpr (!kIsVoid<R>) return R{};
  }
};
template <typename T>
struct MethodResult<Result<T>> {
  static constexpr bool kIsResult = true;
  static Result<T> Neutral() { return Result<T>{PrivateGetNullReturnError(kNullReturnUnresolved), T{}}; }
};
template <>
struct MethodResult<ErrorRef> {
  static constexpr bool kIsResult = true;
  static ErrorRef Neutral() { return PrivateGetNullReturnError(kNullReturnUnresolved); }
};

template <typename Interface, int Slot,
          typename Signature = typename SignatureAt<typename Interface::Methods, Slot>::Type>
struct TableMethod;

// One method of a function-table interface. A bound call is one indirect call
// through the static table; an unbound slot runs the method's fallback.
template <typename Interface, int Slot, typename R, typename... A>
struct TableMethod<Interface, Slot, R(A...)> {
  using Function = R (*)(A...);

  static R Fallback(A... args) {
    FunctionTableReference& reference = TableBinding<Interface>::reference;
    constexpr bool kIsResult = MethodResult<R>::kIsResult;
    if (EnsureResolved(reference, !kIsResult)) {
      const auto function = reinterpret_cast<Function>(TableBinding<Interface>::table[Slot]);
      if (function != nullptr && function != &Fallback) return function(args...);
      // The interface resolved but this method did not.
      if (!kIsResult) ReportUnresolvableInterface(reference.head.id);
    }
    return MethodResult<R>::Neutral();
  }

  R operator()(A... args) const {
    void* function = TableBinding<Interface>::table[Slot];
    if (function == nullptr) function = reinterpret_cast<void*>(&Fallback);  // the kernel never ran
    using Host = typename RegisterAnswer<R>::Type (*)(A...);
    if constexpr (kIsVoid<R>) reinterpret_cast<Host>(function)(args...);
    else return FromRegister<R>(reinterpret_cast<Host>(function)(args...));
  }
};

template <typename Interface, int Slot>
inline constexpr TableMethod<Interface, Slot> Method{};

// Whether the kernel bound the interface and filled this method's slot with the
// host's function: a call then reaches the host without running the fallback.
template <typename Interface, int Slot>
bool IsMethodBound() {
  using Function = typename TableMethod<Interface, Slot>::Function;
  const auto function = reinterpret_cast<Function>(TableBinding<Interface>::table[Slot]);
  return IsBound(TableBinding<Interface>::reference) && function != nullptr &&
         function != &TableMethod<Interface, Slot>::Fallback;
}

// Whether a call of the method would reach the host: bound now, or bound once the
// kernel has had its chance to resolve the interface (without a report).
template <typename Interface, int Slot>
bool IsMethodAvailable() {
  if (IsMethodBound<Interface, Slot>()) return true;
  if (!EnsureResolved(TableBinding<Interface>::reference, false)) return false;
  const void* function = TableBinding<Interface>::table[Slot];
  return function != nullptr && function != reinterpret_cast<const void*>(&TableMethod<Interface, Slot>::Fallback);
}

// Writes the fallback of every method into the table, then lets the kernel bind.
template <typename Interface>
ErrorRef InstallFallbacks(BindFunction bind, void** table) {
  [table]<size_t... Slot>(IndexList<Slot...>) {
    ((table[Slot] = reinterpret_cast<void*>(&TableMethod<Interface, int(Slot)>::Fallback)), ...);
  }(MakeIndexList<Interface::kMethodCount>());
  return bind(&TableBinding<Interface>::reference, table, Interface::kKinds, Interface::kMethodCount);
}

// Object dispatch: where an interface's method k lies in an object's class descriptor.
struct ObjectMethodEntry {
  void* function;
  int64_t adjustment;
};
bool Implements(const void* object, const ObjectInterfaceReference& reference);
bool FindObjectMethod(const void* object, const ObjectInterfaceReference& reference, int slot,
                      ObjectMethodEntry& entry);

template <typename Interface, int Slot, typename Signature>
struct ObjectMethod;

template <typename Interface, int Slot, typename R, typename Self, typename... A>
struct ObjectMethod<Interface, Slot, R(Self, A...)> {
  R operator()(const void* object, A... args) const {
    ObjectMethodEntry entry;
    if (object == nullptr ||
        !FindObjectMethod(object, ObjectBinding<Interface>::reference, Slot, entry))
      return MethodResult<R>::Neutral();
    auto* receiver = const_cast<char*>(static_cast<const char*>(object)) + entry.adjustment;
    using Host = typename RegisterAnswer<R>::Type (*)(Self, A...);
    const auto function = reinterpret_cast<Host>(entry.function);
    if constexpr (kIsVoid<R>) function(static_cast<Self>(static_cast<void*>(receiver)), args...);
    else return FromRegister<R>(function(static_cast<Self>(static_cast<void*>(receiver)), args...));
  }
};

}  // namespace core
