#pragma once
// Registration of the static records that describe the module to the host's
// framework kernel. Called only from static initialisers, with static records; no
// operation allocates or calls the host. A structural error traps.
#include "entityrecords.h"

namespace core {

// Flags given by this library's registrations.
inline constexpr uint32_t kPlaceholderUnitFlags = 0x2000000;
inline constexpr uint32_t kRegisterUnitFlags = 256;
inline constexpr uint32_t kReflectionUnitFlags = 0x8400000;
inline constexpr uint32_t kFrameworkModuleFlags = 0x8001000;
inline constexpr int32_t kInitializerPriority = 128;
inline constexpr char kUnnamedUnit[] = "??";

TranslationUnitRecord& RegisterUnit(TranslationUnitRecord& unit, ModuleEntry& module,
                                    const char* file, uint32_t flags);
ModuleEntry& RegisterModule(ModuleEntry& module, const EntityId& id, TranslationUnitRecord& unit,
                            uint32_t flags);
StartFunctionRecord& RegisterStartFunctions(StartFunctionRecord& record, const char* file,
                                            StartFunction start, EndFunction end,
                                            TranslationUnitRecord& unit);
InitializerRecord& RegisterInitializer(InitializerRecord& record, const EntityId& name,
                                       TranslationUnitRecord& owner, const char* file,
                                       int32_t priority);
// Declaration, class and data type references, owned by the declaring framework's
// register unit and listed in its module entry.
DeclarationReference& RegisterDeclaration(DeclarationReference& record, EntityKind kind,
                                          const EntityId& id, TranslationUnitRecord& declaringUnit,
                                          ModuleEntry& declaringModule);
RegistryReference& RegisterRegistry(RegistryReference& record, const EntityId& id,
                                    TranslationUnitRecord& unit);
FunctionTableReference& RegisterTableInterface(FunctionTableReference& record,
                                               const EntityId& id, TranslationUnitRecord& unit,
                                               uint32_t flags, void** table,
                                               int64_t methodCount, const char* methodNames,
                                               FallbackInstaller installer);
ObjectInterfaceReference& RegisterObjectInterface(ObjectInterfaceReference& record,
                                                  const EntityId& id, TranslationUnitRecord& unit,
                                                  uint32_t flags, const void* bases,
                                                  bool singleBase, const char* methodNames,
                                                  const uint8_t* methodKinds);
UsedDeclaration& RegisterUsedDeclaration(UsedDeclaration& node, const EntityRecord* declaration,
                                         TranslationUnitRecord& unit, const char* header,
                                         int64_t line);
InitializerDependency& RegisterInitializerDependency(InitializerDependency& node,
                                                     const InitializerRecord& initializer,
                                                     TranslationUnitRecord& unit,
                                                     const char* dottedName);
ModuleEntry& SetModuleDependencies(ModuleEntry& module, const EntityId* ids, int64_t count);
StaticIdConstant& RegisterStaticIdConstant(StaticIdConstant& constant, const char* text);

// The module record the kernel reads.
ModuleRecord& Framework();

}  // namespace core
