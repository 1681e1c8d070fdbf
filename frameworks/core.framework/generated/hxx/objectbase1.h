#pragma once
// The host's published framework interfaces that this module calls: identifiers,
// method names with their signature hashes in slot order, method kind codes and
// registration flags, and the published declarations, frameworks and keys it names.
// Plain data only: the module and the host each build their own typed view of it.
#include <stdint.h>

namespace published {

struct MethodDecl {
  const char* name;
  const char* hash;  // 16 lower-case hexadecimal digits
};

inline constexpr char kHostPrefix[] = "net.hostapp.";

struct System {
  static constexpr char kName[] = "net.hostapp.system";
  static constexpr uint32_t kFlags = 0x40000000;
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
  static constexpr uint8_t kKinds[] = {0, 0, 0, 0, 0, 2, 0, 6};
};

struct Application {
  static constexpr char kName[] = "net.hostapp.application";
  static constexpr uint32_t kFlags = 0x40000000;
  enum Slot : int { GetMachineInfo, GetModuleLocation, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetMachineInfo", "485f4f8abf1bd828"},
      {"GetModuleLocation", "c6e7dd0a0e1f3b52"},
  };
  static constexpr uint8_t kKinds[] = {6, 6};
};

struct DataTypeLibrary {
  static constexpr char kName[] = "net.hostapp.datatypelib";
  static constexpr uint32_t kFlags = 0x30000000;
  enum Slot : int { GetInvalidType, GetDataType, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetInvalidType", "fba9d312aa617612"},
      {"GetDataType", "a9d3daed352202eb"},
  };
  static constexpr uint8_t kKinds[] = {0, 6};
};

struct Logger {
  static constexpr char kName[] = "net.hostapp.logger";
  static constexpr uint32_t kFlags = 0x40000000;
  enum Slot : int { Write, kMethodCount };
  static constexpr MethodDecl kMethods[] = {{"Write", "c2dead756832d917"}};
  static constexpr uint8_t kKinds[] = {6};
};

struct String {
  static constexpr char kName[] = "net.hostapp.string";
  static constexpr uint32_t kFlags = 0x50000000;
  enum Slot : int { Free, AllocEmpty, AllocCopy, GetCString, SetCString, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"Free", "b3ec6551a87d989d"},
      {"Alloc", "7bb4a72739fe46e3"},
      {"Alloc", "16ca9b5ed2d32a45"},
      {"GetCString", "a805b03a99b43e4a"},
      {"SetCString", "5faaf7ced655d1f2"},
  };
  static constexpr uint8_t kKinds[] = {0, 6, 6, 6, 7};
};

struct StringConversion {
  static constexpr char kName[] = "net.hostapp.stringconversion";
  static constexpr uint32_t kFlags = 0x40020000;
  enum Slot : int { AppendInt, AppendIntUnsigned, FormatMessage, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"AppendInt", "aa04dcd84e01f019"},
      {"AppendInt", "4afda43939d77574"},
      {"FormatMessage", "a31936b5f6b0dd5c"},
  };
  static constexpr uint8_t kKinds[] = {7, 7, 6};
};

struct CString {
  static constexpr char kName[] = "net.hostapp.cstring";
  static constexpr uint32_t kFlags = 0;
  enum Slot : int { Free, kMethodCount };
  static constexpr MethodDecl kMethods[] = {{"Free", "587eff925fafccfe"}};
  static constexpr uint8_t kKinds[] = {0};
};

struct ThreadServices {
  static constexpr char kName[] = "net.hostapp.threadservices";
  static constexpr uint32_t kFlags = 0x40000000;
  enum Slot : int { GetCurrentThreadType, Enqueue, Wait, GetResult, Cancel, RemoveJobReference, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetCurrentThreadType", "cce2ed42b49a2cdc"},
      {"Enqueue", "f1cc4a9d474f1ffa"},
      {"Wait", "7eb1b7a4637b546f"},
      {"GetResult", "76557699b589a988"},
      {"Cancel", "59b242d6383f06a7"},
      {"RemoveJobReference", "e433a716bb4f414d"},
  };
  static constexpr uint8_t kKinds[] = {0, 7, 0, 7, 0, 0};
};

struct JobQueue {
  static constexpr char kName[] = "net.hostapp.jobqueue";
  static constexpr uint32_t kFlags = 0x40000000;
  enum Slot : int { GetMainThreadQueue, Free, kMethodCount };
  static constexpr MethodDecl kMethods[] = {
      {"GetMainThreadQueue", "69fe5172c77a4cd7"},
      {"Free", "0b0fa9db79ab9c71"},
  };
  static constexpr uint8_t kKinds[] = {0, 0};
};

struct DataDictionary {
  static constexpr char kName[] = "net.hostapp.datadictionary";
  static constexpr uint32_t kFlags = 0;
  enum Slot : int { GetBool, kMethodCount };
  static constexpr MethodDecl kMethods[] = {{"GetBool", "490dcab3d41588b7"}};
  static constexpr uint8_t kKinds[] = {0};
};

// Published objects the module reads (declarations, classes and data types).
namespace decl {
inline constexpr char kDefaultLogger[] = "net.hostapp.logger.core";
inline constexpr char kUtf8Decoding[] = "net.hostapp.decoding.utf8";
inline constexpr char kDefaultDictionary[] = "net.hostapp.datadictionary.default";
inline constexpr char kObjectClass[] = "net.hostapp.class.object";
inline constexpr char kInt32Type[] = "net.hostapp.datatype.int32";
}  // namespace decl

// Machine-information keys: the host's prefix, "machineinfo.support" and the feature.
namespace machineinfo {
inline constexpr int kKeyCount = 10;
inline constexpr const char* kKeys[kKeyCount] = {
    "net.hostapp.machineinfo.supportsse2",  "net.hostapp.machineinfo.supportsse3",
    "net.hostapp.machineinfo.supportssse3", "net.hostapp.machineinfo.supportsse41",
    "net.hostapp.machineinfo.supportsse42", "net.hostapp.machineinfo.supportavx",
    "net.hostapp.machineinfo.supportfma",   "net.hostapp.machineinfo.supportaes",
    "net.hostapp.machineinfo.supportpclmulqdq", "net.hostapp.machineinfo.supportavx2",
};
}  // namespace machineinfo

// Identifiers of the host's frameworks.
namespace framework {
inline constexpr char kScene[] = "net.hostapp.scene.framework";
inline constexpr char kCommand[] = "net.hostapp.command.framework";
inline constexpr char kCore[] = "net.hostapp.core.framework";
inline constexpr char kCrypt[] = "net.hostapp.crypt.framework";
inline constexpr char kImage[] = "net.hostapp.image.framework";
inline constexpr char kMath[] = "net.hostapp.math.framework";
inline constexpr char kMeshMisc[] = "net.hostapp.mesh_misc.framework";
inline constexpr char kModelingGeom[] = "net.hostapp.modeling_geom.framework";
inline constexpr char kPython[] = "net.hostapp.python.framework";
}  // namespace framework

// Identifiers of the host's initialization messages, kept as static constants.
namespace initialization {
inline constexpr int kMessageIdCount = 8;
inline constexpr const char* kMessageIds[kMessageIdCount] = {
    "net.hostapp.initialization.blockingstart", "net.hostapp.initialization.image",
    "net.hostapp.initialization.imageurl",      "net.hostapp.initialization.splashshow",
    "net.hostapp.initialization.splashshowflag", "net.hostapp.initialization.stage",
    "net.hostapp.initialization.stagetext",     "net.hostapp.initialization.messageid",
};
}  // namespace initialization

}  // namespace published
