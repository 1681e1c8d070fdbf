// t_HostOS_Gd: typed values. A value the host fills (an element message's answer,
// an empty value made from another) is the plug-in's to release before its call
// returns; a value the plug-in made itself may be released once.
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/ownership.h"
#include "window_arguments.h"
#include "window_tables.h"

namespace testhost {

namespace {

bool IsKnownKind(std::int32_t kind) { return kind == kValueEmpty || kind == kValueInt32 || kind == kValueFloat64; }

std::string NameOf(const void* value) { return CurrentObjects().Name(value); }

void GeValueDestroy(TypedValue* value) {
  Contract contract;
  if (!contract.NotNull(value, "value")) return;
  if (HostWindows().StateOf(value) == Windows::ValueState::kPluginMade)
    contract.Check(IsKnownKind(value->kind), "value",
                   "must be a typed value of a kind the host knows, was kind " + std::to_string(value->kind));
  HostWindows().ReleaseValue(value, Describe(entry::GeValueDestroy));
}

std::int32_t GeValueGetInt32(const TypedValue* value) {
  Contract contract;
  if (!contract.NotNull(value, "value")) return 0;
  if (HostWindows().StateOf(value) == Windows::ValueState::kReleased) {
    contract.Fail("value", "is " + NameOf(value) + ", released already");
    return 0;
  }
  return value->kind == kValueInt32 ? static_cast<std::int32_t>(value->value) : 0;
}

void GeValueInitEmpty(TypedValue* out, const TypedValue* source) {
  Contract contract;
  contract.NotNull(source, "source");
  if (!contract.NotNull(out, "value")) return;
  if (HostWindows().StateOf(out) == Windows::ValueState::kFilled && HostWindows().Offered(entry::GeValueDestroy))
    contract.Fail("value", "still holds " + NameOf(out) + "; filling it again loses it");
  if (source != nullptr && HostWindows().StateOf(source) == Windows::ValueState::kReleased)
    contract.Fail("source", "is " + NameOf(source) + ", released already");
  const TypedValue content = source != nullptr ? *source : TypedValue{kValueEmpty, 0, 0};
  HostWindows().FillValue(out, content, Describe(entry::GeValueInitEmpty));
}

}  // namespace

void InstallValueEntries(HostTables& tables) {
  Install<entry::GeValueDestroy, &GeValueDestroy, kMainThread>(tables);
  Install<entry::GeValueGetInt32, &GeValueGetInt32, kMainThread>(tables);
  Install<entry::GeValueInitEmpty, &GeValueInitEmpty, kMainThread>(tables);
}

}  // namespace testhost
