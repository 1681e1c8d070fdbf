// The kernel's published interfaces and declarations, and what a test may change
// about them before the library is loaded.
#include <cstring>

#include "testhost/fault_log.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

std::vector<std::uint8_t> MakeDescriptor(std::uint64_t size) {
  std::vector<std::uint8_t> bytes(size, 0);
  std::memcpy(bytes.data() + object::kDescriptorSize, &size, sizeof(size));
  return bytes;
}

void Implement(std::vector<std::uint8_t>& descriptor, std::uint64_t offset, const std::vector<void*>& methods) {
  descriptor.at(offset) = 1;
  for (std::size_t k = 0; k < methods.size(); ++k) {
    const std::int64_t adjustment = 0;
    std::memcpy(descriptor.data() + offset + 1 + object::kMethodEntry * k, &methods[k], 8);
    std::memcpy(descriptor.data() + offset + 9 + object::kMethodEntry * k, &adjustment, 8);
  }
}

// A host-side definition record: the kind and the resolved flag where the module
// reads them.
std::unique_ptr<unsigned char[]> NewDefinition(std::int32_t kind) {
  auto definition = std::make_unique<unsigned char[]>(record::kHead);
  std::memset(definition.get(), 0, record::kHead);
  WriteAt(definition.get(), record::kKind, kind);
  WriteAt(definition.get(), record::kFlags, record::kResolved);
  return definition;
}

}  // namespace



Kernel::Kernel(FaultLog& faults, Ownership& objects, PluginCalls& calls, const Publications& publications)
    : faults_(faults), ownership_(objects), calls_(calls), publications_(publications) {
  BuildDescriptors();
  const std::string prototypeOrigin = "the host's published prototypes";
  for (int code = 0; code < error::kCount; ++code) {
    ErrorValue* prototype = NewError(code, Owner::kHost, prototypeOrigin);
    prototypes_.push_back(prototype);
  }
  invalidType_.descriptor = plainDescriptor_.data();
  invalidType_.flags = 1;  // static: never counted
  invalidType_.name = "invalid";
  int32Type_ = static_cast<DataTypeValue*>(
      NewObject(sizeof(DataTypeValue), plainDescriptor_.data(), nullptr, Owner::kHost, "data type int32", "the host"));
  int32Type_->name = "int32";
  defaultLogger_ = NewObject(sizeof(void*), plainDescriptor_.data(), nullptr, Owner::kHost, "default logger", "the host");
  utf8Decoding_ = NewObject(sizeof(void*), plainDescriptor_.data(), nullptr, Owner::kHost, "UTF-8 decoding", "the host");
  objectClass_ = NewObject(sizeof(void*), plainDescriptor_.data(), nullptr, Owner::kHost, "object class", "the host");
  jobs_ = std::make_unique<JobSystem>(*this);

  PublishAll();
}

void Kernel::PublishAll() {
  publications_.interfaces(*this);
  // The machine information of the machine the host runs on.
  auto key = [](const char* feature) {
    std::string name(published::kHostPrefix);
    name.append("machineinfo.support").append(feature);
    return name;
  };
  machineInfo_ = std::map<std::string, bool>{
      {key("sse2"), __builtin_cpu_supports("sse2") != 0},   {key("sse3"), __builtin_cpu_supports("sse3") != 0},
      {key("ssse3"), __builtin_cpu_supports("ssse3") != 0}, {key("sse41"), __builtin_cpu_supports("sse4.1") != 0},
      {key("sse42"), __builtin_cpu_supports("sse4.2") != 0}, {key("avx"), __builtin_cpu_supports("avx") != 0},
      {key("fma"), __builtin_cpu_supports("fma") != 0},     {key("aes"), __builtin_cpu_supports("aes") != 0},
      {key("pclmulqdq"), __builtin_cpu_supports("pclmul") != 0},
      {key("avx2"), __builtin_cpu_supports("avx2") != 0}};
  PublishObject(published::Error::kName, descriptor::kErrorOffset);
  PublishObject(published::AggregatedError::kName, descriptor::kAggregatedOffset);
  PublishObject(published::UnregisteredDataTypeError::kName, descriptor::kUnregisteredOffset);
  for (int code = 0; code < error::kCount; ++code)
    PublishDeclaration(published::errors::kPrototypes[code], prototypes_[static_cast<std::size_t>(code)]);
  PublishDeclaration(published::decl::kDefaultLogger, defaultLogger_);
  PublishDeclaration(published::decl::kUtf8Decoding, utf8Decoding_);
  PublishDeclaration(published::decl::kObjectClass, objectClass_);
  PublishDeclaration(published::decl::kInt32Type, int32Type_);
}

void Kernel::Heal() {
  interfaces_.clear();
  declarations_.clear();
  unpublishedDeclarations_.clear();
  onDemand_.clear();
  withheld_.clear();
  failingInitializers_.clear();
  withholdInitializer_ = false;
  failAllocation_ = nullptr;
  consoleOutputType_ = kDefaultConsoleMask;
  dataTypeFailure_ = 0;
  failLoggerWrite_ = false;
  failConversion_ = false;
  PublishAll();
}

void Kernel::BuildDescriptors() {
  const std::vector<void*> errorMethods = {nullptr, publications_.errorSetLocation, nullptr, nullptr,
                                           publications_.errorGetMessage};
  errorDescriptor_ = MakeDescriptor(descriptor::kSize);
  Implement(errorDescriptor_, descriptor::kErrorOffset, errorMethods);
  unregisteredDescriptor_ = errorDescriptor_;
  Implement(unregisteredDescriptor_, descriptor::kUnregisteredOffset, {});
  plainDescriptor_ = MakeDescriptor(object::kDescriptorSize + 8);
}

Kernel::Interface& Kernel::NewInterface(const std::string& name, std::int32_t kind) {
  Interface& published = interfaces_[{name, kind}];
  published.kind = kind;
  published.definition = NewDefinition(kind);
  return published;
}

Kernel::Interface* Kernel::FindInterface(const std::string& name, std::int32_t kind) {
  auto found = interfaces_.find({name, kind});
  return found != interfaces_.end() ? &found->second : nullptr;
}

const Kernel::Interface* Kernel::FindInterface(const std::string& name, std::int32_t kind) const {
  auto found = interfaces_.find({name, kind});
  return found != interfaces_.end() ? &found->second : nullptr;
}

void Kernel::PublishMethods(const char* name, const published::MethodDecl* methods,
                            std::initializer_list<void*> functions) {
  Interface& published = NewInterface(name, record::kTableInterface);
  std::size_t slot = 0;
  for (void* function : functions) {
    const published::MethodDecl& method = methods[slot++];
    const std::string key = std::string(method.name) + "@" + method.hash;
    published.keys.push_back(key);
    published.rightKeys.insert(key);
    published.methods[key] = function;
  }
}

void Kernel::PublishObject(const char* name, std::uint64_t offset) {
  NewInterface(name, record::kObjectInterface).methodOffset = offset;
}

void Kernel::PublishAlsoAsTable(const std::string& interfaceName) {
  if (FindInterface(interfaceName, record::kTableInterface) == nullptr)
    NewInterface(interfaceName, record::kTableInterface);
}

void Kernel::PublishDeclaration(const char* name, const void* value) {
  Declaration& declaration = declarations_[name];
  declaration.value = value;
  declaration.definition = NewDefinition(record::kDeclaration);
}

void Kernel::Unpublish(const std::string& interfaceName) {
  withheld_.insert(interfaceName);
  interfaces_.erase({interfaceName, record::kTableInterface});
  interfaces_.erase({interfaceName, record::kObjectInterface});
}

void Kernel::UnpublishMethod(const std::string& interfaceName, int slot) {
  Interface& published = interfaces_.at({interfaceName, record::kTableInterface});
  published.methods.erase(published.keys.at(static_cast<std::size_t>(slot)));
}

void Kernel::SetSignatureHash(const std::string& interfaceName, int slot, const std::string& hash) {
  Interface& published = interfaces_.at({interfaceName, record::kTableInterface});
  std::string& key = published.keys.at(static_cast<std::size_t>(slot));
  void* function = published.methods[key];
  published.methods.erase(key);
  key = key.substr(0, key.find('@') + 1) + hash;
  published.methods[key] = function;
}

void Kernel::MarkFailed(const std::string& interfaceName) {
  for (std::int32_t kind : {record::kTableInterface, record::kObjectInterface})
    if (Interface* published = FindInterface(interfaceName, kind)) published->failed = true;
}

void Kernel::UnpublishDeclaration(const std::string& id) { unpublishedDeclarations_.insert(id); }

void Kernel::SetDefaultDictionary(std::optional<std::map<std::string, bool>> values) {
  if (values) {
    defaultDictionary_ = NewDictionary(*values, Owner::kHost, "the host's default dictionary");
    PublishDeclaration(published::decl::kDefaultDictionary, defaultDictionary_);
  } else {
    declarations_.erase(published::decl::kDefaultDictionary);
  }
}

std::uint64_t Kernel::MethodOffset(const std::string& interfaceName) const {
  const Interface* published = FindInterface(interfaceName, record::kObjectInterface);
  return published != nullptr ? published->methodOffset : record::kUnboundMethodOffset;
}

bool Kernel::IsDefinition(const void* definition) const {
  if (definition == nullptr) return false;
  for (const auto& [key, published] : interfaces_)
    if (published.definition.get() == definition) return true;
  for (const auto& [id, declaration] : declarations_)
    if (declaration.definition.get() == definition) return unpublishedDeclarations_.count(id) == 0;
  return false;
}

bool Kernel::Offers(const std::string& route) const {
  const std::size_t dot = route.rfind('.');
  if (dot == std::string::npos) return true;  // not a framework method: a table entry
  const Interface* published = FindInterface(route.substr(0, dot), record::kTableInterface);
  if (published == nullptr || published->failed) return false;
  // A method published under a wrong signature hash cannot be bound by a module
  // that asks for the right one.
  const std::string method = route.substr(dot + 1);
  for (const auto& [key, function] : published->methods)
    if (key.compare(0, key.find('@'), method) == 0 && published->rightKeys.count(key) != 0) return true;
  return false;
}

std::string Kernel::ConsoleText() const {
  std::string text;
  for (const ConsoleWrite& write : console_) text += write.text;
  return text;
}

void Kernel::Register(const void* entry) {
  ConfigurationVariable variable{entry, "", "", 0, nullptr};
  const char* name = ReadAt<const char*>(entry, configuration::kName);
  const char* help = ReadAt<const char*>(entry, configuration::kHelp);
  variable.name = name != nullptr ? name : "";
  variable.help = help != nullptr ? help : "";
  variable.type = ReadAt<std::int32_t>(entry, configuration::kType);
  variable.storage = ReadAt<void*>(entry, configuration::kStorage);
  configuration_.push_back(std::move(variable));
}

bool Kernel::SetConfiguration(const std::string& name, std::uint8_t value) {
  for (const ConfigurationVariable& variable : configuration_) {
    if (variable.name == name && variable.type == configuration::kBool) {
      *static_cast<std::uint8_t*>(variable.storage) = value;
      return true;
    }
  }
  return false;
}

}  // namespace testhost
