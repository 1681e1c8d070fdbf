// The exported module record through which the host's framework kernel finds
// everything this library registers, and the static identifier constants it fills.
#include "memory.h"
#include "interfaces.h"
#include "registration.h"

#include "object.h"

core::ModuleRecord g_framework = {
    {2023904, 2024000}, nullptr, {nullptr, 0}, nullptr, nullptr, {0, -1, 0}};

namespace core {

ModuleRecord& Framework() { return g_framework; }

namespace {

constexpr int kInitializationIdCount =
    sizeof(iface::initialization::kMessageIds) / sizeof(iface::initialization::kMessageIds[0]);
StaticIdConstant g_initializationIds[kInitializationIdCount];

[[maybe_unused]] const int g_constantsRegistered = [] {
  for (int i = 0; i < kInitializationIdCount; ++i)
    RegisterStaticIdConstant(g_initializationIds[i], iface::initialization::kMessageIds[i]);
  return 0;
}();

// Released when the library unloads: an identifier the kernel left in the module
// record that owns its text.
struct ReleaseOwnedIdentifier {
  ~ReleaseOwnedIdentifier() {
    if ((g_framework.idSlot.word & kIdOwnedText) != 0)
      FrameworkFree(const_cast<char*>(g_framework.idSlot.text));
    g_framework.idSlot = EntityId{nullptr, 0};
  }
} g_releaseOwnedIdentifier;

}  // namespace
}  // namespace core
