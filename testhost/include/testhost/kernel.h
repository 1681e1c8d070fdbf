#pragma once
// The test host's framework kernel: publishes the framework interfaces, binds the
// library's registration records (read by byte offset through g_framework), runs
// unit start and end functions, and keeps host framework objects (strings, errors,
// dictionaries, data types) as real reference-counted objects whose ownership it
// tracks.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "errorbase1.h"
#include "objectbase1.h"
#include "testhost/abi.h"
#include "testhost/contract.h"
#include "testhost/entry.h"
#include "testhost/framework_objects.h"
#include "testhost/jobs.h"
#include "testhost/ownership.h"

namespace testhost {

class FaultLog;
class PluginCalls;

struct LogLine {
  std::int32_t target;
  std::int32_t level;
  std::string text;
  std::string file;
  std::int64_t line;
};

struct ConsoleWrite {
  std::string text;
  std::string file;
  std::int64_t line;
  std::uint32_t flags;
};

// A configuration entry the plug-in registered, read by byte offset.
struct ConfigurationVariable {
  const void* entry;
  std::string name;
  std::string help;
  std::int32_t type;
  void* storage;
};

class Kernel;

// How many ended objects' and freed blocks stay reserved; older ones are freed.
inline constexpr std::size_t kReservedBlocks = 4096;

// What the kernel publishes besides its own records: the framework interfaces with
// the host's implementations of their methods (src/framework/), handed in by
// whoever makes the kernel.
struct Publications {
  void (*interfaces)(Kernel& kernel);  // publishes every function-table interface
  void* errorSetLocation;              // the error classes' methods
  void* errorGetMessage;
};

class Kernel {
 public:
  Kernel(FaultLog& faults, Ownership& objects, PluginCalls& calls, const Publications& publications);
  ~Kernel();
  Kernel(const Kernel&) = delete;
  Kernel& operator=(const Kernel&) = delete;

  // --- what a test can change before the library is loaded ---
  void Unpublish(const std::string& interfaceName);
  void UnpublishMethod(const std::string& interfaceName, int slot);  // slot of the published list
  void SetSignatureHash(const std::string& interfaceName, int slot, const std::string& hash);
  void MarkFailed(const std::string& interfaceName);  // bits 0x4 and 0x1000 at binding
  void UnpublishDeclaration(const std::string& id);
  void WithholdInitializer() { withholdInitializer_ = true; }
  // The interface is left unbound at load; the kernel gives its reference an
  // on-demand function that binds the table when the module first calls it.
  void ResolveOnDemand(const std::string& interfaceName) { onDemand_.insert(interfaceName); }
  // The kernel's initializer answers an error when asked for this identifier.
  void FailInitializer(const std::string& id) { failingInitializers_.insert(id); }
  // Publishes an interface under the identifier of another kind as well: a
  // function-table interface without methods for an object-dispatch identifier.
  void PublishAlsoAsTable(const std::string& interfaceName);
  // Allocation failures: the k-th allocation of the session (1-based), or every
  // allocation for which `which` answers true.
  void FailAllocation(int k) {
    failAllocation_ = [k](int n) { return n == k; };
  }
  void FailAllocations(std::function<bool(int)> which) { failAllocation_ = std::move(which); }
  void SetMachineInfo(std::optional<std::map<std::string, bool>> info) { machineInfo_ = std::move(info); }
  void SetDefaultDictionary(std::optional<std::map<std::string, bool>> values);
  void SetConsoleOutputType(std::uint32_t mask) { consoleOutputType_ = mask; }
  // The logger's Write answers an error; the string conversion's AppendInt answers
  // an error without appending.
  void FailLoggerWrite(bool fail) { failLoggerWrite_ = fail; }
  void FailStringConversion(bool fail) { failConversion_ = fail; }
  // Where the framework says its modules were loaded from, by module identifier.
  std::map<std::string, std::string> moduleLocations{{"net.hostapp.scene.framework", "/opt/hostapp/modules"}};
  // How GetDataType fails for the int32 type: 0 succeeds, else the error code to
  // answer; kUnregisteredDataType answers the unregistered-data-type error.
  static constexpr int kUnregisteredDataType = 100;
  void FailDataType(int code) { dataTypeFailure_ = code; }

  // Takes back every change a test made to what the kernel publishes and answers.
  void Heal();

  // --- the library ---
  void Bind(void* framework);  // the exported g_framework
  void RunStartFunctions();
  void RunEndFunctions();
  // Puts back every byte the binding wrote into the library's records, for code
  // linked into a test process that outlives this kernel.
  void Unbind();
  // After unload: everything the plug-in was given and owns is gone, and the host's
  // own objects carry only the host's references.
  void CheckReleased();
  // After every call into the plug-in: no host object was over-released.
  void CheckHostObjects();
  void* Framework() const { return framework_; }
  // Whether the plug-in can reach a framework method ("interface.method"), so that
  // what is given back through it can be expected back.
  bool Offers(const std::string& route) const;

  // --- what the host saw ---
  const std::vector<LogLine>& LogLines() const { return logLines_; }
  const std::vector<ConsoleWrite>& Console() const { return console_; }
  std::string ConsoleText() const;
  const std::vector<ConfigurationVariable>& Configuration() const { return configuration_; }
  bool SetConfiguration(const std::string& name, std::uint8_t value);
  std::size_t LiveAllocations() const;
  // Blocks of ended objects and freed memory kept reserved.
  std::size_t ReservedBlocks() const;
  int AllocationCount() const { return allocationCount_; }

  // --- host framework objects ---
  // A new object with count word 16. Host-owned objects keep that one reference
  // for the host; plug-in-owned ones are the plug-in's to release through `route`.
  void* NewObject(std::size_t size, const std::uint8_t* descriptor, std::function<void(void*)> destroy,
                  Owner owner, const std::string& kind, const std::string& origin);
  bool IsLiveObject(const void* object) const;
  std::int64_t& CountWord(const void* object);
  // The count word read and written as the plug-in's threads change it: atomically.
  std::int64_t Count(const void* object);
  void SetCount(const void* object, std::int64_t value);
  // Ends an object's life; its memory stays reserved so that a late use is caught.
  void DestroyObject(const void* object);
  // The plug-in frees an object through `route`; false (nothing freed) when it may not.
  bool FreeByPlugin(const void* object, const std::string& route);
  FrameworkObject* NewString(const std::string& text, Owner owner = Owner::kPlugin,
                             const std::string& origin = "the host");
  std::string StringText(const void* string) const;
  ErrorValue* NewError(int code, Owner owner, const std::string& origin = "the host");
  ErrorHandle PluginError(int code, const std::string& origin);
  ErrorValue* Prototype(int code) { return prototypes_.at(static_cast<std::size_t>(code)); }
  std::string ErrorText(const void* error) const;
  const std::uint8_t* UnregisteredDescriptor() const { return unregisteredDescriptor_.data(); }
  const std::uint8_t* PlainDescriptor() const { return plainDescriptor_.data(); }
  const DataTypeValue* InvalidType() const { return &invalidType_; }
  const DataTypeValue* Int32Type() const { return int32Type_; }
  std::uint64_t MethodOffset(const std::string& interfaceName) const;
  FrameworkObject* NewDictionary(const std::map<std::string, bool>& values, Owner owner, const std::string& origin);
  Ownership& Objects() { return ownership_; }

  // --- used by the published methods ---
  bool TakeAllocation();  // false when this allocation is to fail
  void* Allocate(std::size_t size, const Location* where, const std::string& route);
  bool Release(void* block, const std::string& route);
  bool IsBlock(const void* block) const;
  std::size_t BlockSize(const void* block) const;
  void Log(LogLine line) { logLines_.push_back(std::move(line)); }
  void Write(ConsoleWrite write) { console_.push_back(std::move(write)); }
  std::uint32_t ConsoleOutputType() const { return consoleOutputType_; }
  void Register(const void* entry);
  const std::optional<std::map<std::string, bool>>& MachineInfo() const { return machineInfo_; }
  int DataTypeFailure() const { return dataTypeFailure_; }
  bool LoggerWriteFails() const { return failLoggerWrite_; }
  bool ConversionFails() const { return failConversion_; }
  bool IsDefinition(const void* definition) const;
  PluginCalls& Calls() { return calls_; }
  JobSystem& Jobs() { return *jobs_; }
  // Drops one reference the host holds; destroys the object with the last one.
  void DropReference(const void* object);

  // Publishes a function-table interface with one function per slot of its
  // published method list, in slot order.
  template <typename Interface>
  void PublishTable(std::initializer_list<void*> functions) {
    PublishMethods(Interface::kName, Interface::kMethods, functions);
  }
  void PublishMethods(const char* name, const published::MethodDecl* methods, std::initializer_list<void*> functions);

 private:
  struct Interface {
    std::int32_t kind = 0;                 // record kind 1 or 3
    std::map<std::string, void*> methods;  // "name@hash" -> function
    std::vector<std::string> keys;         // by published slot
    std::set<std::string> rightKeys;       // the keys as the published list signs them
    std::unique_ptr<unsigned char[]> definition;  // the host's record the reference points to
    bool failed = false;
    std::uint64_t methodOffset = record::kUnboundMethodOffset;
  };
  struct Declaration {
    const void* value = nullptr;
    std::unique_ptr<unsigned char[]> definition;
  };
  struct Block {
    std::size_t size = 0;
    bool released = false;
  };

  Interface& NewInterface(const std::string& name, std::int32_t kind);
  Interface* FindInterface(const std::string& name, std::int32_t kind);
  const Interface* FindInterface(const std::string& name, std::int32_t kind) const;
  void PublishObject(const char* name, std::uint64_t offset);
  void PublishDeclaration(const char* name, const void* value);
  void BuildDescriptors();
  void PublishAll();
  static ErrorHandle BindTable(void* reference, void** table, const std::uint8_t* kinds, std::int64_t count);
  static ErrorHandle BindNothing(void* reference, void** table, const std::uint8_t* kinds, std::int64_t count);
  static void Initializer(ErrorHandle* error, void* definition, const IdValue* id);
  static void OnDemand(void** table);
  // The on-demand slot of an interface the kernel does not publish at all: a method
  // call reaches it through the module's fallback and is recorded as a fault.
  static void CalledUnpublished(void** table);
  void FillTable(const void* reference, void** table, std::int64_t count);
  // Keeps an ended object's block or a freed block reserved; the oldest goes.
  void Bury(char* block, bool memory);
  // Fails the test, naming the block, when a guard byte after it changed.
  void CheckGuard(void* block, std::size_t size, const std::string& when);
  void BindReference(unsigned char* record);
  void CheckIdentifier(const void* record, const char* what);
  // Saves the bytes the kernel is about to write, so that Unbind can put them back.
  void Save(void* at, std::size_t size);
  template <typename F>
  void ForEachModule(F&& f);
  template <typename F>
  void ForEachStartRecord(F&& f);

  FaultLog& faults_;
  Ownership& ownership_;
  PluginCalls& calls_;
  Publications publications_;
  // Objects and memory may be asked for from any thread.
  mutable std::recursive_mutex mutex_;
  std::unique_ptr<JobSystem> jobs_;
  void* framework_ = nullptr;
  std::map<std::pair<std::string, std::int32_t>, Interface> interfaces_;
  std::map<std::string, Declaration> declarations_;
  std::set<std::string> unpublishedDeclarations_;
  std::set<std::string> onDemand_;
  std::map<void**, const void*> onDemandTables_;  // table -> its reference
  std::set<std::string> withheld_;                   // published, but unpublished by a test
  std::map<void**, std::string> unpublishedTables_;  // table -> name, of interfaces never published
  std::set<std::string> failingInitializers_;
  std::vector<std::pair<void*, std::vector<unsigned char>>> saved_;
  bool withholdInitializer_ = false;
  std::function<bool(int)> failAllocation_;
  int allocationCount_ = 0;
  std::uint32_t consoleOutputType_ = kDefaultConsoleMask;
  int dataTypeFailure_ = 0;
  bool failLoggerWrite_ = false;
  bool failConversion_ = false;
  std::optional<std::map<std::string, bool>> machineInfo_;
  FrameworkObject* defaultDictionary_ = nullptr;

  std::map<const void*, std::function<void(void*)>> objects_;  // live framework objects
  std::map<const void*, char*> blocks_;                          // object -> its block (count word first)
  std::map<void*, Block> memory_;                                // framework memory handed to the plug-in
  // Blocks of ended objects and freed memory (true), the latest kReservedBlocks.
  std::deque<std::pair<char*, bool>> graveyard_;
  std::vector<ErrorValue*> prototypes_;
  std::vector<const void*> hostObjects_;  // host-owned objects whose count word is checked
  std::vector<std::uint8_t> errorDescriptor_, unregisteredDescriptor_, plainDescriptor_;
  DataTypeValue invalidType_{};
  DataTypeValue* int32Type_ = nullptr;
  void* defaultLogger_ = nullptr;
  void* utf8Decoding_ = nullptr;
  void* objectClass_ = nullptr;

  std::vector<LogLine> logLines_;
  std::vector<ConsoleWrite> console_;
  std::vector<ConfigurationVariable> configuration_;
};



}  // namespace testhost
