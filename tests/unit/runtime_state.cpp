#include "runtime_state.h"

#include <cstring>

#include "configuration.h"
#include "cpuid.h"
#include "datatype.h"
#include "debugglobals.h"
#include "debugoutput.h"
#include "error.h"
#include "host_pmain.h"
#include "host_resource.h"
#include "interfaces.h"
#include "object.h"
#include "operatingsystem.h"
#include "refcount.h"

namespace {

struct Region {
  void* address;
  std::size_t size;
};

template <typename T>
Region Of(T& value) {
  return Region{const_cast<void*>(static_cast<const void*>(&value)), sizeof(T)};
}

std::vector<Region> Regions() {
  std::vector<Region> regions = {
      Of(t_HostOS),
      Of(EntryActionCount),
      Of(PluginFileStore),
      Of(core::MachineInfoFlags),
      Of(core::g_int32Type),
      Of(g_enableDebugBreak),
      Of(g_trackCpuYield),
      Of(g_trackSpinlocks),
      Of(g_inCrashhandler),
      Of(g_CpuYieldDelegate),
      Of(core::g_configurationTable),
      Of(core::g_configurationCount),
      Of(g_framework),
      Of(core::g_debuggerAttached),
      Of(core::g_debugOutputState),
      Of(g_resources),
  };
#define STATLUME_SAVE_TABLE(name) regions.push_back(Of(t_HostOS_##name));
  STATLUME_HOST_TABLES(STATLUME_SAVE_TABLE)
#undef STATLUME_SAVE_TABLE
  // A module-local error is released like any error the code receives, which drops
  // its count word, although it is never freed.
  for (int code = 0; code < iface::errors::kStandardErrorCount; ++code)
    regions.push_back(Of(*core::CountWord(core::ModuleLocalError(code))));
  return regions;
}

}  // namespace

void RuntimeStateGuard::OnTestStart(const ::testing::TestInfo&) {
  saved_.clear();
  for (const Region& region : Regions()) {
    const auto* bytes = static_cast<const unsigned char*>(region.address);
    saved_.push_back(Saved{region.address, std::vector<unsigned char>(bytes, bytes + region.size)});
  }
}

void RuntimeStateGuard::OnTestEnd(const ::testing::TestInfo&) {
  for (const Saved& saved : saved_) std::memcpy(saved.address, saved.bytes.data(), saved.bytes.size());
  saved_.clear();
}
