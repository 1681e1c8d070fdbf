#include "registration.h"

#include "debugglobals.h"
#include "debugoutput.h"

namespace core {
namespace {

constexpr uint32_t kForceBit = 0x8000;
constexpr uint32_t kReservedGivenBits = 0x98005e;
constexpr uint32_t kNoIdentifierAllowed = 0x4080;

// The steps every registration starts with.
void Construct(EntityRecord& record, EntityKind kind, const EntityId& id, EntityRecord* owner,
               uint32_t given) {
  if ((given & kForceBit) == 0 && (given & kReservedGivenBits) != 0) BreakpointTrap();
  if (owner != nullptr && id.text == nullptr && kind != kEntityBlank &&
      (given & kNoIdentifierAllowed) == 0)
    BreakpointTrap();
  if (kind == kEntityObjectInterface || (given & kForceBit) != 0) {
    record.flags = 0;
  } else if (record.kind != kEntityBlank || record.owner != nullptr || record.state != 0) {
    BreakpointTrap();  // registered twice
  }
  const bool keepId = kind == kEntityModule && (given & kFlagRegistered) != 0 && record.id.text != nullptr;
  if (!keepId) {
    if ((id.word & kIdOwnedText) != 0) BreakpointTrap();  // static records never own text
    record.id = id;
  }
  record.kind = kind;
  record.flags |= given | kFlagConstructed;
  record.owner = owner;
  record.state = 0;
}

void AppendChild(TranslationUnitRecord& unit, EntityRecord& child) {
  if (child.next != nullptr) BreakpointTrap();
  if (unit.childTail != nullptr)
    unit.childTail->next = &child;
  else
    unit.childHead = &child;
  unit.childTail = &child;
  unit.head.flags |= child.flags & kFlagHasChildren;
}

void PushReference(ModuleEntry& module, EntityRecord& reference) {
  reference.next = module.referencesHead;
  module.referencesHead = &reference;
}

// A unit learns its name from the first source file one of its records names.
void NameUnit(TranslationUnitRecord& unit, const char* file) {
  if (file == nullptr || unit.head.id.text == nullptr) return;
  if (!IdEquals(unit.head.id, Id(kUnnamedUnit))) return;
  unit.head.id = EntityIdOfText(LastPathComponent(file));
}

}  // namespace

TranslationUnitRecord& RegisterUnit(TranslationUnitRecord& unit, ModuleEntry& module,
                                    const char* file, uint32_t flags) {
  Construct(unit.head, kEntityUnit, EntityIdOfText(LastPathComponent(file)), &unit.head,
            flags | kFlagRegistered | kFlagConstructed);
  unit.module = &module;
  unit.head.next = module.unitsHead;
  module.unitsHead = &unit.head;
  unit.bookkeeping[0] = -1;
  unit.bookkeeping[1] = -2;
  unit.bookkeeping[2] = -1;
  return unit;
}

ModuleEntry& RegisterModule(ModuleEntry& module, const EntityId& id, TranslationUnitRecord& unit,
                            uint32_t flags) {
  Construct(module.head, kEntityModule, id, &unit.head, flags | kFlagRegistered | kFlagConstructed);
  module.kernelWords[0] = module.kernelWords[1] = module.kernelWords[2] = 0;
  AppendChild(unit, module.head);
  ModuleRecord& framework = Framework();
  module.nextModule = framework.modules;
  framework.modules = &module;
  module.framework = &framework;
  return module;
}

StartFunctionRecord& RegisterStartFunctions(StartFunctionRecord& record, const char* file,
                                            StartFunction start, EndFunction end,
                                            TranslationUnitRecord& unit) {
  Construct(record.head, kEntityStartFunctions, EntityIdOfText(LastPathComponent(file)),
            &unit.head, kFlagRegistered | kFlagConstructed);
  for (uintptr_t& word : record.reserved) word = 0;
  AppendChild(unit, record.head);
  NameUnit(unit, file);
  record.start = start;
  record.end = end;
  return record;
}

InitializerRecord& RegisterInitializer(InitializerRecord& record, const EntityId& name,
                                       TranslationUnitRecord& owner, const char* file,
                                       int32_t priority) {
  Construct(record.head, kEntityInitializer, name, &owner.head, 0);
  for (uintptr_t& word : record.reserved) word = 0;
  record.priority = priority;
  AppendChild(owner, record.head);
  NameUnit(owner, file);
  return record;
}

DeclarationReference& RegisterDeclaration(DeclarationReference& record, EntityKind kind,
                                          const EntityId& id, TranslationUnitRecord& declaringUnit,
                                          ModuleEntry& declaringModule) {
  if (kind != kEntityDeclaration && kind != kEntityClass && kind != kEntityDataType)
    BreakpointTrap();
  Construct(record.head, kind, id, &declaringUnit.head, 0);
  PushReference(declaringModule, record.head);
  record.definition = nullptr;
  record.reserved = 0;
  record.value = nullptr;
  return record;
}

RegistryReference& RegisterRegistry(RegistryReference& record, const EntityId& id,
                                    TranslationUnitRecord& unit) {
  Construct(record.head, kEntityRegistry, id, &unit.head, 0);
  PushReference(*unit.module, record.head);
  record.definition = nullptr;
  record.reserved = 0;
  return record;
}

FunctionTableReference& RegisterTableInterface(FunctionTableReference& record,
                                               const EntityId& id, TranslationUnitRecord& unit,
                                               uint32_t flags, void** table,
                                               int64_t methodCount, const char* methodNames,
                                               FallbackInstaller installer) {
  Construct(record.head, kEntityTableInterface, id, &unit.head, flags);
  PushReference(*unit.module, record.head);
  record.definition = nullptr;
  record.table = table;
  record.tableEnd = table + methodCount;
  record.methodNames = methodNames;
  record.methodCount = methodCount;
  record.installer = installer;
  record.onDemand = nullptr;
  return record;
}

ObjectInterfaceReference& RegisterObjectInterface(ObjectInterfaceReference& record,
                                                  const EntityId& id, TranslationUnitRecord& unit,
                                                  uint32_t flags, const void* bases,
                                                  bool singleBase, const char* methodNames,
                                                  const uint8_t* methodKinds) {
  Construct(record.head, kEntityObjectInterface, id, &unit.head,
            flags | (singleBase ? uint32_t{kFlagBaseIsSingle} : 0u));
  PushReference(*unit.module, record.head);
  record.definition = nullptr;
  record.methodOffset = kUnboundMethodOffset;
  record.reserved1 = nullptr;
  record.bases = bases;
  record.methodNames = methodNames;
  record.idCopy = id;
  record.minusOne = -1;
  record.methodKinds = methodKinds;
  return record;
}

UsedDeclaration& RegisterUsedDeclaration(UsedDeclaration& node, const EntityRecord* declaration,
                                         TranslationUnitRecord& unit, const char* header,
                                         int64_t line) {
  if (declaration == nullptr || node.next != nullptr) BreakpointTrap();
  node.declaration = declaration;
  node.header = header;
  node.line = line;
  node.next = unit.uses;
  unit.uses = &node;
  return node;
}

InitializerDependency& RegisterInitializerDependency(InitializerDependency& node,
                                                     const InitializerRecord& initializer,
                                                     TranslationUnitRecord& unit,
                                                     const char* dottedName) {
  if (dottedName == nullptr || node.next != nullptr) BreakpointTrap();
  node.initializer = &initializer;
  node.initializerAgain = &initializer;
  node.name = dottedName;
  node.next = unit.dependencies;
  unit.dependencies = &node;
  return node;
}

ModuleEntry& SetModuleDependencies(ModuleEntry& module, const EntityId* ids, int64_t count) {
  if (module.dependencies != nullptr) BreakpointTrap();  // set once only
  module.dependencies = ids;
  module.dependencyCount = count;
  return module;
}

StaticIdConstant& RegisterStaticIdConstant(StaticIdConstant& constant, const char* text) {
  if (constant.node.next != nullptr || constant.node.constant != nullptr) BreakpointTrap();
  ModuleRecord& framework = Framework();
  constant.value = 0;
  constant.node.constant = &constant;
  constant.node.text = text;
  constant.node.next = framework.constants;
  framework.constants = &constant.node;
  return constant;
}

}  // namespace core
