#pragma once
// Layout of the static registration records the host's framework kernel reads
// through g_framework. Plain data only: the kernel side includes this too.
#include <stddef.h>
#include <stdint.h>

#include "apibaseid.h"
#include "sourcelocation.h"

namespace core {

struct ErrorObject;
using ErrorRef = const ErrorObject*;

// Record kinds.
enum EntityKind : int32_t {
  kEntityBlank = 0,
  kEntityObjectInterface = 1,
  kEntityTableInterface = 3,
  kEntityDeclaration = 4,
  kEntityClass = 6,
  kEntityDataType = 7,
  kEntityUnit = 8,
  kEntityModule = 9,
  kEntityStartFunctions = 10,
  kEntityInitializer = 11,
  kEntityRegistry = 12,
};

// Flag bits of a record.
enum EntityFlags : uint32_t {
  kFlagConstructed = 0x1,
  kFlagResolved = 0x4,           // set by the kernel: bound or initialised
  kFlagBaseIsSingle = 0x400,     // object interface: `bases` is one reference
  kFlagResolveFailed = 0x1000,   // set by the kernel together with kFlagResolved
  kFlagSkipConfiguration = 0x2000,
  kFlagRegistered = 0x200,
  kFlagHasChildren = 0x200000,
  kFlagOnDemandGiven = 0x20,
};

// Common head of every registration record.
struct EntityRecord {
  int32_t kind;
  uint32_t flags;
  EntityId id;
  EntityRecord* owner;
  uintptr_t state;
  EntityRecord* next;
};
static_assert(offsetof(EntityRecord, id) == 8);
static_assert(offsetof(EntityRecord, owner) == 24);
static_assert(sizeof(EntityRecord) == 48);

struct UsedDeclaration;
struct InitializerDependency;
struct ModuleRecord;
struct LazyDataTypeHolder;

struct ModuleEntry;

struct TranslationUnitRecord {
  EntityRecord head;
  ModuleEntry* module;  // the module entry whose unit list holds this unit
  EntityRecord* childHead;
  EntityRecord* childTail;
  UsedDeclaration* uses;
  InitializerDependency* dependencies;
  intptr_t bookkeeping[3];  // -1, -2, -1 at registration
};

struct ModuleEntry {
  EntityRecord head;
  EntityRecord* unitsHead;       // unit records, newest first
  EntityRecord* referencesHead;  // declaration, interface and registry references
  ModuleEntry* nextModule;       // link in g_framework's module list
  ModuleRecord* framework;       // back pointer to g_framework
  uintptr_t kernelWords[3];
  const EntityId* dependencies;
  int64_t dependencyCount;  // -1 until a dependency list is set
  LazyDataTypeHolder* dataTypes;
};

using StartFunction = ErrorRef (*)();
using EndFunction = void (*)();

struct StartFunctionRecord {
  EntityRecord head;
  uintptr_t reserved[4];
  StartFunction start;
  EndFunction end;
};

struct InitializerRecord {
  EntityRecord head;
  uintptr_t reserved[4];
  int32_t priority;
};

// Declaration, class and data type references (kinds 4, 6, 7).
struct DeclarationReference {
  EntityRecord head;
  void* definition;  // written by the kernel
  uintptr_t reserved;
  const void* value;  // resolved value, written by the kernel
};

struct RegistryReference {
  EntityRecord head;
  void* definition;
  uintptr_t reserved;
};

struct FunctionTableReference;
using BindFunction = ErrorRef (*)(FunctionTableReference* reference, void** table,
                                  const uint8_t* kinds, int64_t count);
using FallbackInstaller = ErrorRef (*)(BindFunction bind, void** table);
using OnDemandFunction = void (*)(void** table);

// Interface reference bound through a function table (kind 3).
struct FunctionTableReference {
  EntityRecord head;
  uintptr_t reserved0;
  void* definition;
  void** table;
  void** tableEnd;
  const char* methodNames;
  int64_t methodCount;
  FallbackInstaller installer;
  uintptr_t reserved1;
  OnDemandFunction onDemand;
  uintptr_t reserved2;
};

inline constexpr uint64_t kUnboundMethodOffset = 0x8000000000000000ULL;

// Interface reference bound through object dispatch (kind 1).
struct ObjectInterfaceReference {
  EntityRecord head;
  uintptr_t reserved0;
  void* definition;
  uint64_t methodOffset;
  void* reserved1;
  const void* bases;
  const char* methodNames;
  EntityId idCopy;
  uintptr_t reserved2;
  int64_t minusOne;
  const uint8_t* methodKinds;
};

struct UsedDeclaration {
  UsedDeclaration* next;
  uintptr_t reserved0[2];
  const EntityRecord* declaration;
  const char* header;
  uintptr_t reserved1;
  int64_t line;
};

struct InitializerDependency {
  InitializerDependency* next;
  const InitializerRecord* initializer;
  const InitializerRecord* initializerAgain;
  uintptr_t reserved0[2];
  const char* name;
  uintptr_t reserved1;
};

struct StaticIdConstant;
struct StaticIdNode {
  StaticIdConstant* constant;
  const char* text;
  StaticIdNode* next;
};
// A value word the kernel fills, followed by its list node.
struct StaticIdConstant {
  uint64_t value;
  StaticIdNode node;
};

// The kernel's on-demand initializer: resolves or initialises an entity.
using KernelInitializer = void (*)(ErrorRef* error, void* definition, const EntityId* id);

// The exported module record g_framework.
struct ModuleRecord {
  uint64_t versions[2];
  ModuleEntry* modules;
  EntityId idSlot;
  KernelInitializer initializer;
  StaticIdNode* constants;
  intptr_t kernelWords[3];
};
static_assert(offsetof(ModuleRecord, modules) == 16);
static_assert(offsetof(ModuleRecord, initializer) == 40);

// A data type obtained lazily from the host.
struct DataTypeObject;
template <typename T>
struct Result {
  ErrorRef error;
  T value;
};
using DataTypeProducer = Result<const DataTypeObject*> (*)();
struct LazyDataTypeHolder {
  const DataTypeObject* type;
  LazyDataTypeHolder* next;
  DataTypeProducer producer;
};

// Entry of the configuration variable table handed to the host.
struct ConfigurationEntry {
  const char* name;
  const char* help;
  int32_t type;
  void* storage;
  int32_t reserved;
  uintptr_t rest[2];
};
static_assert(sizeof(ConfigurationEntry) == 56);

// Class descriptor of a framework object, as the kernel lays it out: the word at
// byte 32 is the descriptor's size; an interface's method block starts at the
// interface's method offset with a flag byte, then 16 bytes per method (function,
// receiver adjustment).
inline constexpr size_t kDescriptorSizeOffset = 32;
inline constexpr size_t kMethodEntrySize = 16;

}  // namespace core
