#pragma once
// The module's typed view of the host's published interfaces: each interface's
// identifier and method list from the published list, with the signature of every
// method the module calls, in slot order.
#include <stddef.h>
#include <stdint.h>

#include "apibaseid.h"
#include "entityrecords.h"
#include "errorbase1.h"
#include "methodlist.h"
#include "objectbase1.h"

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
using core::EntityId;
using core::ErrorRef;
using core::JobObject;
using core::LoggerObject;
using core::QueueObject;
using core::Result;
using core::SourceLocation;
using core::StringObject;

// An identifier of the published list as the module's identifier value.
constexpr EntityId IdOf(const char* text) { return core::MakeEntityId(text, core::TextLength(text)); }

struct System : published::System {
  static constexpr EntityId kId = IdOf(kName);
  using AllocFn = void*(size_t, const SourceLocation*);
  using ReallocFn = void*(void*, size_t, const SourceLocation*);
  using FreeFn = void(void*);
  // Runs `destructor` (when given) on the object, then releases its storage.
  using PrivateFreeWithDestructorFn = void(const void*, void (*)(void*));
  using PrivateCloneObjectFn = void*(const void*);
  using ConsoleOutputFn = void(const char*, const SourceLocation*, uint32_t, int32_t);
  using GetConsoleOutputTypeFn = uint32_t();
  using ConfigurationRegisterFn = void(const ConfigurationEntry*);
  using Methods = core::Signatures<AllocFn, ReallocFn, FreeFn, PrivateFreeWithDestructorFn, PrivateCloneObjectFn,
                                   ConsoleOutputFn, GetConsoleOutputTypeFn, ConfigurationRegisterFn>;
};

struct Application : published::Application {
  static constexpr EntityId kId = IdOf(kName);
  using GetMachineInfoFn = Result<const DictionaryObject*>();
  // The folder a framework module was loaded from, as path text.
  using GetModuleLocationFn = Result<StringObject*>(const EntityId* module);
  using Methods = core::Signatures<GetMachineInfoFn, GetModuleLocationFn>;
};

struct DataTypeLibrary : published::DataTypeLibrary {
  static constexpr EntityId kId = IdOf(kName);
  using GetInvalidTypeFn = const DataTypeObject*();
  using GetDataTypeFn = Result<const DataTypeObject*>(const EntityId*);
  using Methods = core::Signatures<GetInvalidTypeFn, GetDataTypeFn>;
};

struct Logger : published::Logger {
  static constexpr EntityId kId = IdOf(kName);
  using WriteFn = ErrorRef(LoggerObject*, int32_t target, const StringObject* text, const SourceLocation*,
                           int32_t level);
  using Methods = core::Signatures<WriteFn>;
};

struct String : published::String {
  static constexpr EntityId kId = IdOf(kName);
  using FreeFn = void(StringObject*);
  using AllocEmptyFn = Result<StringObject*>(const SourceLocation*);
  using AllocCopyFn = Result<StringObject*>(const StringObject*, const SourceLocation*);
  // C text of a string, released through the C string interface's Free.
  using GetCStringFn = Result<char*>(const StringObject*);
  using SetCStringFn = ErrorRef(StringObject*, const char*, int64_t length, const void* decoding);
  using Methods = core::Signatures<FreeFn, AllocEmptyFn, AllocCopyFn, GetCStringFn, SetCStringFn>;
};

struct StringConversion : published::StringConversion {
  static constexpr EntityId kId = IdOf(kName);
  using AppendIntFn = ErrorRef(StringObject*, int64_t value, int32_t size, const StringObject* format);
  using AppendIntUnsignedFn = ErrorRef(StringObject*, uint64_t value, int32_t size,
                                       const StringObject* format);
  // Replaces each "@" in `format`, in order, by the text form of the next argument.
  using FormatMessageFn = Result<StringObject*>(const char* format, int64_t count,
                                                const void* const* arguments, const core::TextFormFunction* forms);
  using Methods = core::Signatures<AppendIntFn, AppendIntUnsignedFn, FormatMessageFn>;
};

struct CString : published::CString {
  static constexpr EntityId kId = IdOf(kName);
  using FreeFn = void(char*);
  using Methods = core::Signatures<FreeFn>;
};

struct ThreadServices : published::ThreadServices {
  static constexpr EntityId kId = IdOf(kName);
  using GetCurrentThreadTypeFn = int32_t();
  using EnqueueFn = ErrorRef(JobObject*, QueueObject*);
  using WaitFn = bool(JobObject*, double timeout, int32_t mode);
  using GetResultFn = ErrorRef(JobObject*, double timeout, int32_t mode);
  using CancelFn = void(JobObject*);
  using RemoveJobReferenceFn = void(JobObject*);
  using Methods = core::Signatures<GetCurrentThreadTypeFn, EnqueueFn, WaitFn, GetResultFn, CancelFn,
                                   RemoveJobReferenceFn>;
};

struct JobQueue : published::JobQueue {
  static constexpr EntityId kId = IdOf(kName);
  using GetMainThreadQueueFn = QueueObject*();
  using FreeFn = void(QueueObject*);
  using Methods = core::Signatures<GetMainThreadQueueFn, FreeFn>;
};

struct DataDictionary : published::DataDictionary {
  static constexpr EntityId kId = IdOf(kName);
  using GetBoolFn = bool(const DictionaryObject*, const EntityId* key, bool defaultValue);
  using Methods = core::Signatures<GetBoolFn>;
};

// Error objects (object dispatch). Receivers come first.
struct Error : published::Error {
  static constexpr EntityId kId = IdOf(kName);
  using SetLocationFn = void(void* self, const SourceLocation*);
  using GetMessageFn = Result<StringObject*>(const void* self);
};

struct AggregatedError : published::AggregatedError {
  static constexpr EntityId kId = IdOf(kName);
};

struct UnregisteredDataTypeError : published::UnregisteredDataTypeError {
  static constexpr EntityId kId = IdOf(kName);
};

namespace decl {
inline constexpr EntityId kDefaultLogger = IdOf(published::decl::kDefaultLogger);
inline constexpr EntityId kUtf8Decoding = IdOf(published::decl::kUtf8Decoding);
inline constexpr EntityId kDefaultDictionary = IdOf(published::decl::kDefaultDictionary);
inline constexpr EntityId kObjectClass = IdOf(published::decl::kObjectClass);
inline constexpr EntityId kInt32Type = IdOf(published::decl::kInt32Type);
}  // namespace decl

namespace machineinfo {
inline constexpr EntityId kKeys[published::machineinfo::kKeyCount] = {
    IdOf(published::machineinfo::kKeys[0]), IdOf(published::machineinfo::kKeys[1]),
    IdOf(published::machineinfo::kKeys[2]), IdOf(published::machineinfo::kKeys[3]),
    IdOf(published::machineinfo::kKeys[4]), IdOf(published::machineinfo::kKeys[5]),
    IdOf(published::machineinfo::kKeys[6]), IdOf(published::machineinfo::kKeys[7]),
    IdOf(published::machineinfo::kKeys[8]), IdOf(published::machineinfo::kKeys[9]),
};
}  // namespace machineinfo

namespace framework {
inline constexpr EntityId kScene = IdOf(published::framework::kScene);
inline constexpr EntityId kCommand = IdOf(published::framework::kCommand);
inline constexpr EntityId kCore = IdOf(published::framework::kCore);
inline constexpr EntityId kCrypt = IdOf(published::framework::kCrypt);
inline constexpr EntityId kImage = IdOf(published::framework::kImage);
inline constexpr EntityId kMath = IdOf(published::framework::kMath);
inline constexpr EntityId kMeshMisc = IdOf(published::framework::kMeshMisc);
inline constexpr EntityId kModelingGeom = IdOf(published::framework::kModelingGeom);
inline constexpr EntityId kPython = IdOf(published::framework::kPython);
}  // namespace framework

namespace initialization {
using published::initialization::kMessageIdCount;
using published::initialization::kMessageIds;
}  // namespace initialization

namespace errors {
using published::errors::kStandardErrorCount;
inline constexpr EntityId kPrototypes[kStandardErrorCount] = {
    IdOf(published::errors::kPrototypes[0]), IdOf(published::errors::kPrototypes[1]),
    IdOf(published::errors::kPrototypes[2]), IdOf(published::errors::kPrototypes[3]),
    IdOf(published::errors::kPrototypes[4]), IdOf(published::errors::kPrototypes[5]),
    IdOf(published::errors::kPrototypes[6]),
};
}  // namespace errors

}  // namespace iface
