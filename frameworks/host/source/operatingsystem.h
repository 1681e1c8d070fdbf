#pragma once
#include <stddef.h>
#include <stdint.h>

#include "freestanding.h"
#include "host_table_layout.h"

// The host's function tables, in the order of the HostOS record.
#define STATLUME_HOST_TABLES(X)                                                      \
  X(Ge) X(Sh) X(Hf) X(Bc) X(St) X(Bm) X(Ms) X(Ba) X(Fn) X(Fl) X(Bf) X(Cd) X(Cu)     \
  X(Pr) X(Lr) X(Bl) X(Tg) X(Bo) X(Bd) X(Bt) X(Mt) X(Tx) X(Bs) X(Bu) X(Br) X(Bv)     \
  X(Nb) X(Pl) X(Fi) X(Pa) X(Ln) X(Gv) X(Gd) X(At) X(CA) X(Ne) X(FL)

inline constexpr int kHostTableCount = 37;
inline constexpr int32_t kRequiredHostVersion = 2024000;

// The record the host hands over with the first initialisation action.
struct HostOS {
  int32_t version;
  int32_t padding;
  void* tables[kHostTableCount];
};
static_assert(offsetof(HostOS, version) == 0);
static_assert(offsetof(HostOS, tables) == 8, "sub-table pointers start at byte 8");
static_assert(sizeof(HostOS) == 8 + 37 * 8);

// The bound record and one global per sub-table; null until bound.
extern const HostOS* t_HostOS;
#define STATLUME_DECLARE_TABLE(name) extern void* t_HostOS_##name;
STATLUME_HOST_TABLES(STATLUME_DECLARE_TABLE)
#undef STATLUME_DECLARE_TABLE

// Stores the record and its sub-tables; reports missing tables once. Returns the
// record's version, accepted or not by the caller.
int32_t BindHostTables(const HostOS* record);

// Why the bound host cannot be served, as one console line, or null when it can:
// the plug-in works only with a complete host whose table layout this build knows;
// otherwise it does not start and loads no resources.
const char* HostRefusalReason();

// An entry that answers a register-wide word (ElementOperation) answers some of
// its codes with a bool: read like every other bool answer of the host.
inline bool HostBoolAnswer(uintptr_t word) { return core::BoolFromRegister(word); }

// A host operation: entry `Offset` (bytes, in a table of 8-byte entries) of the
// sub-table held in `*Table`. The call passes its arguments unchanged and returns the
// entry's result unchanged. A table or entry the host did not provide, or an entry
// whose place this build does not know, answers the failure value (null, false, 0)
// instead of being called.
template <void** Table, size_t Offset, typename Signature>
struct HostOp;

template <void** Table, size_t Offset, typename R, typename... A>
struct HostOp<Table, Offset, R(A...)> {
  static_assert(Offset % 8 == 0, "entries are 8 bytes wide");
  using Entry = typename core::RegisterAnswer<R>::Type (*)(A...);

  static Entry Resolve() {
    const void* table = *Table;
    if (table == nullptr || !HostTableLayoutKnown()) return nullptr;
    return *reinterpret_cast<const Entry*>(static_cast<const char*>(table) + Offset);
  }

  R operator()(A... args) const {
    const Entry entry = Resolve();
    if (entry == nullptr) {
      if constexpr (core::kIsVoid<R>) return;
      else return R{};
    }
    if constexpr (core::kIsVoid<R>) entry(args...);
    else return core::FromRegister<R>(entry(args...));
  }
};

// A data entry of a sub-table (a pointer the host stores in place of a function).
template <void** Table, size_t Offset, typename T>
struct HostData {
  static_assert(Offset % 8 == 0, "entries are 8 bytes wide");
  T* operator()() const {
    const void* table = *Table;
    if (table == nullptr || !HostTableLayoutKnown()) return nullptr;
    return *reinterpret_cast<T* const*>(static_cast<const char*>(table) + Offset);
  }
};
