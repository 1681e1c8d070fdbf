#pragma once
// The wrappers every entry and framework method the host serves runs through: they
// record the call, apply a test's override or failure, name the operation for
// contract messages, then run the host's implementation.
#include <bit>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "testhost/abi.h"
#include "testhost/contract.h"
#include "testhost/tables.h"

namespace testhost {

// One call the plug-in made into a host table or framework method, with its
// arguments as raw words (pointers as addresses, integers sign-extended, floating
// point as bits).
struct Call {
  EntryId entry{};
  MethodId method{};  // set for framework method calls
  std::vector<std::uint64_t> args;

  bool IsMethod() const { return method.interfaceName != nullptr; }
  std::int64_t Int(std::size_t i) const { return static_cast<std::int64_t>(args.at(i)); }
  template <typename T>
  T* Ptr(std::size_t i) const {
    return reinterpret_cast<T*>(static_cast<std::uintptr_t>(args.at(i)));
  }
  double Float(std::size_t i) const { return std::bit_cast<double>(args.at(i)); }
};

template <typename T>
std::uint64_t ToRaw(T value) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<std::uintptr_t>(value);
  else if constexpr (std::is_floating_point_v<T>)
    return std::bit_cast<std::uint64_t>(static_cast<double>(value));
  else if constexpr (std::is_class_v<T>)
    return 0;
  else
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
}

// Hooks of the current host's tables for the wrappers (host_tables.cpp).
bool PlainCalls();
void RecordCall(const EntryId& entry, std::vector<std::uint64_t> args);
void RecordMethodCall(const MethodId& method, std::vector<std::uint64_t> args);
void* EntryOverride(const EntryId& entry);
bool EntryFailing(const EntryId& entry);

// The threads an entry or method may be called on. The host's tables are built on
// its main thread; a call from elsewhere of an operation kept to it fails the test,
// naming the operation.
enum class ThreadRule { kMainThread, kAnyThread };
inline constexpr ThreadRule kMainThread = ThreadRule::kMainThread;
inline constexpr ThreadRule kAnyThread = ThreadRule::kAnyThread;
bool OnMainThread();
void WrongThread(const std::string& operation);
template <ThreadRule Threads, typename Id>
void CheckThread(const Id& id) {
  if constexpr (Threads == kMainThread)
    if (!OnMainThread()) WrongThread(Describe(id));
}

// The host operations under way on this thread, each reached from a plug-in
// callback that the one before ran (a text form of a message being formatted, a
// dialog's message handler). Real call chains stay a few deep. Past kDeepest, an
// operation already under way further out is refused: the plug-in recurses through
// the host without end, and the host records that instead of running out of stack.
// Other operations still run, so that the innermost frame can clean up.
class Reentry {
 public:
  static constexpr std::size_t kDeepest = 64;
  explicit Reentry(const EntryId& entry);
  explicit Reentry(const MethodId& method);
  ~Reentry();
  Reentry(const Reentry&) = delete;
  Reentry& operator=(const Reentry&) = delete;
  bool Refused() const { return refused_; }

 private:
  // Whether the operation `id`, now entered, may run.
  static bool Enter(const void* id);
  // Refuses the operation; the first refusal of a chain is recorded as a fault.
  void Refuse(const void* id, const std::string& name);
  bool refused_ = false;
};

// What a refused method answers the plug-in: an illegal-state error where it
// returns one, else its failure value.
ErrorHandle RefusalError(const MethodId& method);
template <typename R>
struct RefusedAnswer {
  static R Make(const MethodId& method) {
    if constexpr (std::is_void_v<R>) return;
    else if constexpr (std::is_same_v<R, ErrorHandle>) return RefusalError(method);
    else return R{};
  }
};
template <typename T>
struct RefusedAnswer<Result<T>> {
  static Result<T> Make(const MethodId& method) { return {RefusalError(method), T{}}; }
};

// How the host answers a bool. A bool is one byte: a host built by another compiler
// leaves whatever it likes in the rest of the register. The test host answers every
// bool with the upper bytes full of garbage unless a test asks for clean answers, so
// a plug-in that reads more than the low byte reads a wrong answer here too.
inline constexpr std::uint64_t kBoolGarbage = 0xA5A5'A5A5'A5A5'4200;
bool CleanBoolAnswers();  // defined with the host
inline std::uint64_t WidenBool(bool answer) {
  return (CleanBoolAnswers() ? 0 : kBoolGarbage) | (answer ? 1u : 0u);
}

// The wrapper of one entry. `Refuse`, where given, is what the entry does when the
// host answers it with its failure value: an entry whose refusal still takes
// something over (a refused registration leaves its object with the host) does that
// there, with the same arguments.
template <const EntryId& Id, auto Fn, ThreadRule Threads, auto Refuse = nullptr>
struct Entry;

template <const EntryId& Id, typename R, typename... A, R (*Fn)(A...), ThreadRule Threads, auto Refuse>
struct Entry<Id, Fn, Threads, Refuse> {
  static R Failed([[maybe_unused]] A... args) {
    if constexpr (!std::is_same_v<decltype(Refuse), std::nullptr_t>) return Refuse(args...);
    else if constexpr (std::is_void_v<R>) return;
    else return R{};
  }
  static R Call(A... args) {
    const Reentry reentry(Id);
    if (reentry.Refused()) {
      if constexpr (std::is_void_v<R>) return;
      else return R{};
    }
    CheckThread<Threads>(Id);
    if (PlainCalls()) return Fn(args...);
    RecordCall(Id, {ToRaw(args)...});
    const Serving serving(Id);
    if (void* replacement = EntryOverride(Id)) return reinterpret_cast<R (*)(A...)>(replacement)(args...);
    if (EntryFailing(Id)) return Failed(args...);
    return Fn(args...);
  }
  // The form the host's table holds: a bool answer comes back in a whole register.
  static auto Served(A... args) {
    if constexpr (std::is_same_v<R, bool>) return WidenBool(Call(args...));
    else return Call(args...);
  }
};

template <const MethodId& Id, auto Fn, ThreadRule Threads>
struct Published;

template <const MethodId& Id, typename R, typename... A, R (*Fn)(A...), ThreadRule Threads>
struct Published<Id, Fn, Threads> {
  static R Call(A... args) {
    const Reentry reentry(Id);
    if (reentry.Refused()) return RefusedAnswer<R>::Make(Id);
    CheckThread<Threads>(Id);
    if (PlainCalls()) return Fn(args...);
    RecordMethodCall(Id, {ToRaw(args)...});
    const Serving serving(Id);
    return Fn(args...);
  }
  // A bool answer comes back in a whole register, as for entries.
  static auto Served(A... args) {
    if constexpr (std::is_same_v<R, bool>) return WidenBool(Call(args...));
    else return Call(args...);
  }
};

// The recorded form of a published method, for the kernel's method tables: `Fn` is
// the host's implementation, `Threads` where it may be called from.
template <const MethodId& Id, auto Fn, ThreadRule Threads>
void* Recorded() {
  return reinterpret_cast<void*>(&Published<Id, Fn, Threads>::Served);
}

// Whether an entry answers something (a failure value can stand in for it).
template <typename F>
struct EntryAnswers;
template <typename R, typename... A>
struct EntryAnswers<R (*)(A...)> {
  static constexpr bool value = !std::is_void_v<R>;
};

}  // namespace testhost
