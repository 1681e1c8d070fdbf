#include "operatingsystem.h"

#include "debugglobals.h"
#include "debugoutput.h"

// Null until the first initialisation action binds them.
const HostOS* t_HostOS = nullptr;
#define STATLUME_DEFINE_TABLE(name) void* t_HostOS_##name = nullptr;
STATLUME_HOST_TABLES(STATLUME_DEFINE_TABLE)
#undef STATLUME_DEFINE_TABLE

namespace {

void** const kTableGlobals[kHostTableCount] = {
#define STATLUME_TABLE_ADDRESS(name) &t_HostOS_##name,
    STATLUME_HOST_TABLES(STATLUME_TABLE_ADDRESS)
#undef STATLUME_TABLE_ADDRESS
};

#define STATLUME_TABLE_CONDITION(name) " && t_HostOS_" #name
constexpr char kConditions[] = STATLUME_HOST_TABLES(STATLUME_TABLE_CONDITION);
constexpr char kAssertionPrefix[] = "Assertion failed: ";
constexpr size_t kLeadingAnd = 4;  // the " && " before the first table

struct AssertionText {
  char text[sizeof(kAssertionPrefix) + sizeof(kConditions) - 1 - kLeadingAnd];
};

// "Assertion failed: t_HostOS_Ge && t_HostOS_Sh && ... && t_HostOS_FL"
constexpr AssertionText MakeMissingTableAssertion() {
  AssertionText result{};
  size_t n = 0;
  for (size_t i = 0; i + 1 < sizeof(kAssertionPrefix); ++i) result.text[n++] = kAssertionPrefix[i];
  for (size_t i = kLeadingAnd; i < sizeof(kConditions); ++i) result.text[n++] = kConditions[i];
  return result;
}
constexpr AssertionText kMissingTableAssertion = MakeMissingTableAssertion();
#undef STATLUME_TABLE_CONDITION

constexpr const char kThisFile[] = "frameworks/host/source/operatingsystem.cpp";
constexpr int kAssertionLine = 136;

}  // namespace

int32_t BindHostTables(const HostOS* record) {
  t_HostOS = record;
  for (int i = 0; i < kHostTableCount; ++i) *kTableGlobals[i] = record->tables[i];
  for (int i = 0; i < kHostTableCount; ++i) {
    if (*kTableGlobals[i] == nullptr) {
      core::DebugOutput(core::kOutputCriticalLocated, kMissingTableAssertion.text, kAssertionLine,
                        kThisFile);
      core::DebugBreakIfEnabled();
      return t_HostOS->version;
    }
  }
  return record->version;
}

namespace {

#define STATLUME_MISSING_TABLE_LINE(name) \
  "Statlume: the host provides no table t_HostOS_" #name "; Statlume does not start.",
const char* const kMissingTableLines[kHostTableCount] = {STATLUME_HOST_TABLES(STATLUME_MISSING_TABLE_LINE)};
#undef STATLUME_MISSING_TABLE_LINE

}  // namespace

const char* HostRefusalReason() {
  if (t_HostOS == nullptr) return "Statlume: the host handed over no function tables; Statlume does not start.";
  if (!HostTableLayoutKnown()) return kUnknownLayoutLine;
  for (int i = 0; i < kHostTableCount; ++i)
    if (*kTableGlobals[i] == nullptr) return kMissingTableLines[i];
  return nullptr;
}
