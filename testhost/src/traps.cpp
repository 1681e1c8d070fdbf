// Every entry the host does not implement is a distinct trap, so that a call to it
// names its table and offset. There are 37 × 160 of them: their instantiation is
// this unit's whole job, kept apart so that nothing else recompiles it.
#include <utility>

#include "testhost/fault_log.h"
#include "testhost/host_tables.h"

namespace testhost {

namespace {

// Out of line, so that each trap is one call.
[[gnu::noinline]] std::uintptr_t ReportTrap(std::size_t index) {
  FaultLog::Current().Fail("call to an entry the host does not implement: " +
                           Describe(EntryId{static_cast<Table>(index / kEntriesPerTable),
                                            static_cast<int>(index % kEntriesPerTable) * 8}));
  return 0;
}

template <std::size_t I>
std::uintptr_t Trap() {
  return ReportTrap(I);
}

template <std::size_t... I>
std::vector<void*> MakeTraps(std::index_sequence<I...>) {
  return {reinterpret_cast<void*>(&Trap<I>)...};
}

}  // namespace

const std::vector<void*>& Traps() {
  static const std::vector<void*> traps = MakeTraps(std::make_index_sequence<kTableCount * kEntriesPerTable>());
  return traps;
}

}  // namespace testhost
