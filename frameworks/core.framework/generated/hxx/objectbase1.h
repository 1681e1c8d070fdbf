#pragma once
// Published framework interfaces the module calls: identifiers, method-name lists
// with signature hashes, slot numbers and signatures. The test host publishes from
// the same declarations.
#include <cstddef>
#include <cstdint>

#include "apibaseid.h"
#include "entityrecords.h"
#include "methodlist.h"

namespace core {
struct StringObject;
struct LoggerObject;
struct DictionaryObject;
struct JobObject;
struct QueueObject;
using TextFormFunction = Result<StringObject*> (*)(const void* argument);
}  // namespace core

namespace iface {

using core::ConfigurationEntry;
using core::DataTypeObject;
using core::DictionaryObject;
using core::JobObject;
using core::QueueObject;
using core::EntityId;
using core::ErrorRef;
using core::LoggerObject;
using core::MethodDecl;
using core::Result;
using core::SourceLocation;
using core::StringObject;

inline constexpr char kHostPrefix[] = "net.hostapp.";

struct System {
  static constexpr EntityId kId = core::Id("net.hostapp.system");
  static constexpr std::uint32_t kFlags = 0x40000000;
  enum Slot : int {
    Alloc, Realloc, Free, PrivateFreeWithDestructor, PrivateCloneObject, ConsoleOutput,
    GetConsoleOutputType, ConfigurationRegister, kMethodCount
  };
  static constexpr MethodDecl kMethods[] = {
      {"Alloc", "e7756e57a4c4f1a3"},
      {"Realloc", "c45f8a5e103a64f4"},
      {"Free", "f1fdf90fb2984c7e"},
      {"PrivateFreeWithDestructor", "9eebecac9059d899"},
      {"PrivateCloneObject", "a605bc57ff581304"},
      {"_ConsoleOutput", "ab0587e69567f767"},
      {"GetConsoleOutputType", "c921e05f60db5621"},
      {"ConfigurationRegister", "9e17af93f65e3bc7"},
  };
  static constexpr std::uint8_t kKinds[] = {0, 0, 0, 0, 0, 2, 0, 6};
  using AllocFn = void*(std::size_t, const SourceLocation*);
  using ReallocFn = void*(void*, std::size_t, const SourceLocation*);
  using FreeFn = void(void*);
  // Runs `destructor` (when given) on the object, then releases its storage.
  using PrivateFreeWithDestructorFn = void(const void*, void (*)(void*));
  using PrivateCloneObjectFn = void*(const void*);
  using ConsoleOutputFn = void(const char*, const SourceLocation*, std::uint32_t, std::int32_t);
  using GetConsoleOutputTypeFn = std::uint32_t();
  using ConfigurationRegisterFn = void(const ConfigurationEntry*);
  using Methods = core::Signatures<AllocFn, ReallocFn, FreeFn, PrivateFreeWithDestructorFn, PrivateCloneObjectFn, ConsoleOutputFn, GetConsoleOutputTypeFn, ConfigurationRegisterFn>;
};

struct Application {
  static constexpr EntityId kId = core::Id("net.hostapp.application");
  static constexpr std::uint32_t kFlags = 0x40000000;
  enum Slot : int { GetMachineInfo, GetModuleLocation, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetMachineInfo", "485f4f8abf1bd828"},
      {"GetModuleLocation", "c6e7dd0a0e1f3b52"},
  };
  static constexpr std::uint8_t kKinds[] = {6, 6};
  using GetMachineInfoFn = Result<const DictionaryObject*>();
  // The folder a framework module was loaded from, as path text.
  using GetModuleLocationFn = Result<StringObject*>(const EntityId* module);
  using Methods = core::Signatures<GetMachineInfoFn, GetModuleLocationFn>;
};

struct DataTypeLibrary {
  static constexpr EntityId kId = core::Id("net.hostapp.datatypelib");
  static constexpr std::uint32_t kFlags = 0x30000000;
  enum Slot : int { GetInvalidType, GetDataType, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetInvalidType", "fba9d312aa617612"},
      {"GetDataType", "a9d3daed352202eb"},
  };
  static constexpr std::uint8_t kKinds[] = {0, 6};
  using GetInvalidTypeFn = const DataTypeObject*();
  using GetDataTypeFn = Result<const DataTypeObject*>(const EntityId*);
  using Methods = core::Signatures<GetInvalidTypeFn, GetDataTypeFn>;
};

struct Logger {
  static constexpr EntityId kId = core::Id("net.hostapp.logger");
  static constexpr std::uint32_t kFlags = 0x40000000;
  enum Slot : int { Write, kMethodCount };
  static constexpr MethodDecl kMethods[] = {{"Write", "c2dead756832d917"}};
  static constexpr std::uint8_t kKinds[] = {6};
  using WriteFn = ErrorRef(LoggerObject*, std::int32_t target, const StringObject* text,
                           const SourceLocation*, std::int32_t level);
  using Methods = core::Signatures<WriteFn>;
};

struct String {
  static constexpr EntityId kId = core::Id("net.hostapp.string");
  static constexpr std::uint32_t kFlags = 0x50000000;
  enum Slot : int { Free, AllocEmpty, AllocCopy, GetCString, SetCString, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"Free", "b3ec6551a87d989d"},
      {"Alloc", "7bb4a72739fe46e3"},
      {"Alloc", "16ca9b5ed2d32a45"},
      {"GetCString", "a805b03a99b43e4a"},
      {"SetCString", "5faaf7ced655d1f2"},
  };
  static constexpr std::uint8_t kKinds[] = {0, 6, 6, 6, 7};
  using FreeFn = void(StringObject*);
  using AllocEmptyFn = Result<StringObject*>(const SourceLocation*);
  using AllocCopyFn = Result<StringObject*>(const StringObject*, const SourceLocation*);
  // C text of a string, released through the C string interface's Free.
  using GetCStringFn = Result<char*>(const StringObject*);
  using SetCStringFn = ErrorRef(StringObject*, const char*, std::int64_t length, const void* decoding);
  using Methods = core::Signatures<FreeFn, AllocEmptyFn, AllocCopyFn, GetCStringFn, SetCStringFn>;
};

struct StringConversion {
  static constexpr EntityId kId = core::Id("net.hostapp.stringconversion");
  static constexpr std::uint32_t kFlags = 0x40020000;
  enum Slot : int { AppendInt, AppendIntUnsigned, FormatMessage, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"AppendInt", "aa04dcd84e01f019"},
      {"AppendInt", "4afda43939d77574"},
      {"FormatMessage", "a31936b5f6b0dd5c"},
  };
  static constexpr std::uint8_t kKinds[] = {7, 7, 6};
  using AppendIntFn = ErrorRef(StringObject*, std::int64_t value, std::int32_t size,
                               const StringObject* format);
  using AppendIntUnsignedFn = ErrorRef(StringObject*, std::uint64_t value, std::int32_t size,
                                       const StringObject* format);
  // Replaces each "@" in `format`, in order, by the text form of the next argument.
  using FormatMessageFn = Result<StringObject*>(const char* format, std::int64_t count,
                                                const void* const* arguments,
                                                const core::TextFormFunction* forms);
  using Methods = core::Signatures<AppendIntFn, AppendIntUnsignedFn, FormatMessageFn>;
};

struct CString {
  static constexpr EntityId kId = core::Id("net.hostapp.cstring");
  static constexpr std::uint32_t kFlags = 0;
  enum Slot : int { Free, kMethodCount };
  static constexpr MethodDecl kMethods[] = {{"Free", "587eff925fafccfe"}};
  static constexpr std::uint8_t kKinds[] = {0};
  using FreeFn = void(char*);
  using Methods = core::Signatures<FreeFn>;
};

// Layout of a job object after its count word: the table of virtual operations, the
// job's implementation record, one state word, then the captured values.
struct JobImplementation {
  void (*destroy)(JobObject* job);
  void (*run)(JobObject* job);
  const char* (*typeName)(std::int32_t flag);
};
struct JobHead {
  const void* virtualTable;
  const JobImplementation* implementation;
  std::uintptr_t state;
};
static_assert(sizeof(JobHead) == 24);

struct ThreadServices {
  static constexpr EntityId kId = core::Id("net.hostapp.threadservices");
  static constexpr std::uint32_t kFlags = 0x40000000;
  enum Slot : int { GetCurrentThreadType, Enqueue, Wait, GetResult, Cancel, RemoveJobReference, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetCurrentThreadType", "cce2ed42b49a2cdc"},
      {"Enqueue", "f1cc4a9d474f1ffa"},
      {"Wait", "7eb1b7a4637b546f"},
      {"GetResult", "76557699b589a988"},
      {"Cancel", "59b242d6383f06a7"},
      {"RemoveJobReference", "e433a716bb4f414d"},
  };
  static constexpr std::uint8_t kKinds[] = {0, 7, 0, 7, 0, 0};
  using GetCurrentThreadTypeFn = std::int32_t();
  using EnqueueFn = ErrorRef(JobObject*, QueueObject*);
  using WaitFn = bool(JobObject*, double timeout, std::int32_t mode);
  using GetResultFn = ErrorRef(JobObject*, double timeout, std::int32_t mode);
  using CancelFn = void(JobObject*);
  using RemoveJobReferenceFn = void(JobObject*);
  using Methods = core::Signatures<GetCurrentThreadTypeFn, EnqueueFn, WaitFn, GetResultFn, CancelFn,
                                   RemoveJobReferenceFn>;
};

struct JobQueue {
  static constexpr EntityId kId = core::Id("net.hostapp.jobqueue");
  static constexpr std::uint32_t kFlags = 0x40000000;
  enum Slot : int { GetMainThreadQueue, Free, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetMainThreadQueue", "69fe5172c77a4cd7"},
      {"Free", "0b0fa9db79ab9c71"},
  };
  static constexpr std::uint8_t kKinds[] = {0, 0};
  using GetMainThreadQueueFn = QueueObject*();
  using FreeFn = void(QueueObject*);
  using Methods = core::Signatures<GetMainThreadQueueFn, FreeFn>;
};

struct DataDictionary {
  static constexpr EntityId kId = core::Id("net.hostapp.datadictionary");
  static constexpr std::uint32_t kFlags = 0;
  enum Slot : int { GetBool, kMethodCount };
  static constexpr MethodDecl kMethods[] = {{"GetBool", "490dcab3d41588b7"}};
  static constexpr std::uint8_t kKinds[] = {0};
  using GetBoolFn = bool(const DictionaryObject*, const EntityId* key, bool defaultValue);
  using Methods = core::Signatures<GetBoolFn>;
};

// Declarations the module reads (kind 4), classes (6) and data types (7).
namespace decl {
inline constexpr EntityId kDefaultLogger = core::Id("net.hostapp.logger.core");
inline constexpr EntityId kUtf8Decoding = core::Id("net.hostapp.decoding.utf8");
inline constexpr EntityId kDefaultDictionary = core::Id("net.hostapp.datadictionary.default");
inline constexpr EntityId kObjectClass = core::Id("net.hostapp.class.object");
inline constexpr EntityId kInt32Type = core::Id("net.hostapp.datatype.int32");
}  // namespace decl

// Machine-information keys: the host's prefix, "machineinfo.support" and the feature.
namespace machineinfo {
inline constexpr EntityId kKeys[] = {
    core::Id("net.hostapp.machineinfo.supportsse2"),
    core::Id("net.hostapp.machineinfo.supportsse3"),
    core::Id("net.hostapp.machineinfo.supportssse3"),
    core::Id("net.hostapp.machineinfo.supportsse41"),
    core::Id("net.hostapp.machineinfo.supportsse42"),
    core::Id("net.hostapp.machineinfo.supportavx"),
    core::Id("net.hostapp.machineinfo.supportfma"),
    core::Id("net.hostapp.machineinfo.supportaes"),
    core::Id("net.hostapp.machineinfo.supportpclmulqdq"),
    core::Id("net.hostapp.machineinfo.supportavx2"),
};
}  // namespace machineinfo

// Identifiers of the host's frameworks.
namespace framework {
inline constexpr EntityId kScene = core::Id("net.hostapp.scene.framework");
inline constexpr EntityId kCommand = core::Id("net.hostapp.command.framework");
inline constexpr EntityId kCore = core::Id("net.hostapp.core.framework");
inline constexpr EntityId kCrypt = core::Id("net.hostapp.crypt.framework");
inline constexpr EntityId kImage = core::Id("net.hostapp.image.framework");
inline constexpr EntityId kMath = core::Id("net.hostapp.math.framework");
inline constexpr EntityId kMeshMisc = core::Id("net.hostapp.mesh_misc.framework");
inline constexpr EntityId kModelingGeom = core::Id("net.hostapp.modeling_geom.framework");
inline constexpr EntityId kPython = core::Id("net.hostapp.python.framework");
}  // namespace framework

// Identifiers of the host's initialization messages, kept as static constants.
namespace initialization {
inline constexpr const char* kMessageIds[] = {
    "net.hostapp.initialization.blockingstart", "net.hostapp.initialization.image",
    "net.hostapp.initialization.imageurl",      "net.hostapp.initialization.splashshow",
    "net.hostapp.initialization.splashshowflag", "net.hostapp.initialization.stage",
    "net.hostapp.initialization.stagetext",     "net.hostapp.initialization.messageid",
};
}  // namespace initialization

}  // namespace iface
