#pragma once
// The test host's framework kernel: publishes the framework interfaces the plug-in
// calls, binds the library's registration records through g_framework, runs unit
// start and end functions, and keeps host framework objects (strings, errors,
// dictionaries, data types) as real reference-counted objects.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "entityrecords.h"
#include "testhost/jobs.h"
#include "interfaces.h"
#include "interfaces.h"

namespace testhost {

class Host;

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

// Layout of the host's framework objects behind their count word.
struct StringValue {
  const std::uint8_t* descriptor;
  std::string* text;
};
struct ErrorValue {
  const std::uint8_t* descriptor;
  std::string* message;
  core::SourceLocation location;
  bool located;
  int code;
};
struct DataTypeValue {
  const std::uint8_t* descriptor;
  std::uint8_t reserved[32];
  std::uint32_t flags;  // byte 40; bit 0: static
  const char* name;
};
static_assert(offsetof(DataTypeValue, flags) == 40);
struct DictionaryValue {
  const std::uint8_t* descriptor;
  std::map<std::string, bool>* values;
};

class Kernel {
 public:
  explicit Kernel(Host& host);
  ~Kernel();
  Kernel(const Kernel&) = delete;
  Kernel& operator=(const Kernel&) = delete;

  // --- what a test can change before the library is loaded ---
  void Unpublish(const std::string& interfaceId);
  void UnpublishMethod(const std::string& interfaceId, int slot);
  void SetSignatureHash(const std::string& interfaceId, int slot, const std::string& hash);
  void MarkFailed(const std::string& interfaceId);  // bits 0x4 and 0x1000 at binding
  void UnpublishDeclaration(const std::string& id);
  void WithholdInitializer() { withholdInitializer_ = true; }
  void FailAllocation(int k) { failAllocation_ = k; }  // the k-th allocation (1-based) answers null
  void SetMachineInfo(std::optional<std::map<std::string, bool>> info) { machineInfo_ = std::move(info); }
  void SetDefaultDictionary(std::optional<std::map<std::string, bool>> values);
  void SetConsoleOutputType(std::uint32_t mask) { consoleOutputType_ = mask; }
  // Where the framework says its modules were loaded from, by module identifier.
  std::map<std::string, std::string> moduleLocations{{"net.hostapp.scene.framework", "/opt/hostapp/modules"}};
  // Without a bound system interface the plug-in cannot release anything; a test
  // that takes it away says so, and the release check at unload is skipped.
  void SkipReleaseCheck() { skipReleaseCheck_ = true; }
  // How GetDataType fails for the int32 type: 0 succeeds, else the error code to
  // answer; kUnregisteredDataType answers the unregistered-data-type error.
  static constexpr int kUnregisteredDataType = 100;
  void FailDataType(int code) { dataTypeFailure_ = code; }

  // --- the library ---
  void Bind(core::ModuleRecord* framework);
  void RunStartFunctions();
  void RunEndFunctions();
  void CheckReleased();  // after unload: every object the plug-in got is gone
  core::ModuleRecord* Framework() const { return framework_; }

  // --- what the host saw ---
  const std::vector<LogLine>& LogLines() const { return logLines_; }
  const std::vector<ConsoleWrite>& Console() const { return console_; }
  std::string ConsoleText() const;
  const std::vector<const core::ConfigurationEntry*>& Configuration() const { return configuration_; }
  bool SetConfiguration(const std::string& name, std::uint8_t value);
  std::size_t LiveAllocations() const { return allocations_.size(); }
  int AllocationCount() const { return allocationCount_; }
  const std::vector<std::string>& StartErrors() const { return startErrors_; }

  // --- host framework objects ---
  void* NewObject(std::size_t size, const std::uint8_t* descriptor, std::function<void(void*)> destroy,
                  bool forPlugin);
  bool IsLiveObject(const void* object) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return objects_.count(object) != 0;
  }
  std::int64_t& CountWord(const void* object);
  void DestroyObject(const void* object);
  core::StringObject* NewString(const std::string& text, bool forPlugin = true);
  std::string StringText(const core::StringObject* string) const;
  ErrorValue* NewError(int code, bool forPlugin);
  ErrorValue* Prototype(int code) { return prototypes_.at(static_cast<std::size_t>(code)); }
  std::string ErrorText(core::ErrorRef error) const;
  const std::uint8_t* ErrorDescriptor() const { return errorDescriptor_.data(); }
  const std::uint8_t* UnregisteredDescriptor() const { return unregisteredDescriptor_.data(); }
  const std::uint8_t* PlainDescriptor() const { return plainDescriptor_.data(); }
  const DataTypeValue* InvalidType() const { return &invalidType_; }
  const DataTypeValue* Int32Type() const { return int32Type_; }
  std::uint64_t MethodOffset(const std::string& interfaceId) const;

  // Used by the published methods.
  bool TakeAllocation();  // false when this allocation is to fail
  void* Allocate(std::size_t size, const core::SourceLocation* where);
  void Release(void* block);
  void Log(LogLine line) { logLines_.push_back(std::move(line)); }
  void Write(ConsoleWrite write) { console_.push_back(std::move(write)); }
  std::uint32_t ConsoleOutputType() const { return consoleOutputType_; }
  void Register(const core::ConfigurationEntry* entry) { configuration_.push_back(entry); }
  const std::optional<std::map<std::string, bool>>& MachineInfo() const { return machineInfo_; }
  int DataTypeFailure() const { return dataTypeFailure_; }
  core::DictionaryObject* NewDictionary(const std::map<std::string, bool>& values, bool forPlugin);
  bool IsDefinition(const void* definition) const;
  Host& HostRef() { return host_; }
  JobSystem& Jobs() { return *jobs_; }
  // Drops one reference the host holds; destroys the object with the last one.
  void DropReference(const void* object);

  // Publishes a function-table interface with one function per slot, in slot order.
  template <typename Interface>
  void PublishTable(std::initializer_list<void*> functions) {
    PublishMethods(Interface::kId, Interface::kMethods, functions);
  }
  void PublishMethods(const core::EntityId& id, const core::MethodDecl* methods,
                      std::initializer_list<void*> functions);

 private:
  struct Published {
    std::map<std::string, void*> methods;  // "name@hash" -> function
    std::vector<std::string> keys;          // by slot
    core::EntityRecord definition{};
    bool failed = false;
    std::uint64_t methodOffset = core::kUnboundMethodOffset;
  };
  void PublishObject(const core::EntityId& id, const core::MethodDecl* methods, std::size_t count,
                     std::uint64_t offset);
  void PublishDeclaration(const core::EntityId& id, const void* value);
  void BuildDescriptors();
  static core::ErrorRef BindTable(core::FunctionTableReference* reference, void** table,
                                  const std::uint8_t* kinds, std::int64_t count);
  static core::ErrorRef BindNothing(core::FunctionTableReference* reference, void** table,
                                    const std::uint8_t* kinds, std::int64_t count);
  static void Initializer(core::ErrorRef* error, void* definition, const core::EntityId* id);
  void BindReference(core::EntityRecord* record);
  template <typename F>
  void ForEachStartRecord(F&& f);

  Host& host_;
  // Objects and memory may be asked for from any thread.
  mutable std::recursive_mutex mutex_;
  std::unique_ptr<JobSystem> jobs_;
  core::ModuleRecord* framework_ = nullptr;
  std::map<std::string, Published> interfaces_;
  std::map<std::string, std::pair<const void*, core::EntityRecord>> declarations_;
  std::set<std::string> unpublishedDeclarations_;
  bool withholdInitializer_ = false;
  bool skipReleaseCheck_ = false;
  int failAllocation_ = 0;
  int allocationCount_ = 0;
  std::uint32_t consoleOutputType_ = 7;
  int dataTypeFailure_ = 0;
  std::optional<std::map<std::string, bool>> machineInfo_;
  core::DictionaryObject* defaultDictionary_ = nullptr;

  std::map<const void*, std::function<void(void*)>> objects_;
  std::map<const void*, void*> blocks_;  // object -> block
  std::set<const void*> pluginObjects_;
  std::map<void*, std::string> allocations_;
  std::vector<ErrorValue*> prototypes_;
  std::vector<std::uint8_t> errorDescriptor_, unregisteredDescriptor_, plainDescriptor_;
  DataTypeValue invalidType_{};
  DataTypeValue* int32Type_ = nullptr;
  void* defaultLogger_ = nullptr;
  void* utf8Decoding_ = nullptr;
  void* objectClass_ = nullptr;

  std::vector<LogLine> logLines_;
  std::vector<ConsoleWrite> console_;
  std::vector<const core::ConfigurationEntry*> configuration_;
  std::vector<std::string> startErrors_;
};

}  // namespace testhost
