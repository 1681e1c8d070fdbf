// The core framework client module: its unit record, the core framework's interface
// references and its module entry.
#include "register.h"

#include "interfaces.h"
#include "object.h"
#include "registration.h"

namespace core {

TranslationUnitRecord g_coreRegisterUnit;
ModuleEntry g_coreModule;

namespace {

[[maybe_unused]] auto& g_unit = RegisterUnit(g_coreRegisterUnit, g_coreModule, __FILE__, kRegisterUnitFlags);

template <typename Interface>
int RegisterTable() {
  RegisterTableInterface(TableBinding<Interface>::reference, Interface::kId, g_coreRegisterUnit,
                         Interface::kFlags, TableBinding<Interface>::table, Interface::kMethodCount,
                         TableBinding<Interface>::MethodNames(), &InstallFallbacks<Interface>);
  return 0;
}

const void* const kNoBases[] = {nullptr};
constexpr uint8_t kNoKinds[1] = {0};

template <typename Interface>
int RegisterObject(const char* names, const uint8_t* kinds) {
  RegisterObjectInterface(ObjectBinding<Interface>::reference, Interface::kId, g_coreRegisterUnit,
                          0, kNoBases, false, names, kinds);
  return 0;
}

[[maybe_unused]] const int g_interfaces[] = {
    RegisterTable<iface::System>(),
    RegisterTable<iface::Application>(),
    RegisterTable<iface::DataTypeLibrary>(),
    RegisterTable<iface::Logger>(),
    RegisterTable<iface::String>(),
    RegisterTable<iface::StringConversion>(),
    RegisterTable<iface::CString>(),
    RegisterTable<iface::ThreadServices>(),
    RegisterTable<iface::JobQueue>(),
    RegisterTable<iface::DataDictionary>(),
    RegisterObject<iface::Error>(MethodNameList<iface::Error::kMethods>::kText.data(),
                                 iface::Error::kKinds),
    RegisterObject<iface::AggregatedError>(
        MethodNameList<iface::AggregatedError::kMethods>::kText.data(),
        iface::AggregatedError::kKinds),
    RegisterObject<iface::UnregisteredDataTypeError>(kNoMethods, kNoKinds),
};

[[maybe_unused]] auto& g_module =
    RegisterModule(g_coreModule, iface::framework::kCore, g_coreRegisterUnit, kFrameworkModuleFlags);

}  // namespace
}  // namespace core
