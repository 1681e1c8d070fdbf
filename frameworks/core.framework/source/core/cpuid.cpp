#include "cpuid.h"

#include "error.h"
#include "object.h"
#include "interfaces.h"
#include "refcount.h"
#include "register.h"
#include "registration.h"

namespace core {

uint8_t MachineInfoFlags[kMachineFeatureCount];

namespace {

using iface::Application;
using iface::DataDictionary;

TranslationUnitRecord g_cpuidUnit;
[[maybe_unused]] auto& g_unit = RegisterUnit(g_cpuidUnit, g_coreModule, kUnnamedUnit, 0);

UsedDeclaration g_uses[5];
[[maybe_unused]] const int g_usesRegistered = [] {
  RegisterUsedDeclaration(g_uses[0], &TableBinding<iface::System>::reference.head, g_cpuidUnit, "core/system", 0);
  RegisterUsedDeclaration(g_uses[1], &TableBinding<iface::DataTypeLibrary>::reference.head, g_cpuidUnit, "core/datatype", 0);
  RegisterUsedDeclaration(g_uses[2], &TableBinding<iface::String>::reference.head, g_cpuidUnit, "core/string", 0);
  RegisterUsedDeclaration(g_uses[3], &TableBinding<DataDictionary>::reference.head, g_cpuidUnit, "core/datadictionary", 0);
  RegisterUsedDeclaration(g_uses[4], &TableBinding<Application>::reference.head, g_cpuidUnit, "core/application", 0);
  return 0;
}();

InitializerRecord g_cpuidInitializer;
InitializerDependency g_dependsOnCpuid;
[[maybe_unused]] auto& g_dependency =
    RegisterInitializerDependency(g_dependsOnCpuid, g_cpuidInitializer, g_cpuidUnit, ".cpuidinit");
StartFunctionRecord g_startFunctions;
[[maybe_unused]] auto& g_start =
    RegisterStartFunctions(g_startFunctions, __FILE__, &DetectCpuFeatures, nullptr, g_cpuidUnit);
[[maybe_unused]] auto& g_initializer =
    RegisterInitializer(g_cpuidInitializer, Id("cpuidinit"), g_cpuidUnit, __FILE__, kInitializerPriority);

DeclarationReference g_defaultDictionary;
[[maybe_unused]] auto& g_dictionaryDeclaration = RegisterDeclaration(
    g_defaultDictionary, kEntityDeclaration, iface::decl::kDefaultDictionary, g_coreRegisterUnit, g_coreModule);

}  // namespace

ErrorRef DetectCpuFeatures() {
  const Result<const DictionaryObject*> info = Method<Application, Application::GetMachineInfo>();
  ReleaseError(info.error);
  const DictionaryObject* dictionary = info.error == nullptr ? info.value : nullptr;
  const bool owned = dictionary != nullptr;
  if (dictionary == nullptr)
    dictionary = static_cast<const DictionaryObject*>(ReadDeclaration(g_defaultDictionary, nullptr));
  if (dictionary != nullptr) {
    for (int i = 0; i < kMachineFeatureCount; ++i)
      MachineInfoFlags[i] =
          Method<DataDictionary, DataDictionary::GetBool>(dictionary, &iface::machineinfo::kKeys[i], false) ? 1 : 0;
  }
  if (owned) ReleaseObject(dictionary);
  return nullptr;
}

}  // namespace core
