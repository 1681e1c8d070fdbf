#include "testhost/kernel.h"

#include <cstdlib>
#include <cstring>

#include "error.h"
#include "refcount.h"
#include "testhost/host.h"

namespace testhost {

namespace {

std::string IdText(const core::EntityId& id) {
  return id.text != nullptr ? std::string(id.text, core::IdLength(id)) : std::string();
}

// Method blocks of the object-dispatch interfaces inside every class descriptor.
constexpr std::uint64_t kErrorOffset = 40;
constexpr std::uint64_t kAggregatedOffset = kErrorOffset + 1 + 17 * core::kMethodEntrySize;
constexpr std::uint64_t kUnregisteredOffset = kAggregatedOffset + 1 + 4 * core::kMethodEntrySize;
constexpr std::uint64_t kDescriptorSize = kUnregisteredOffset + 1;

std::vector<std::uint8_t> MakeDescriptor(std::uint64_t size) {
  std::vector<std::uint8_t> bytes(size, 0);
  std::memcpy(bytes.data() + core::kDescriptorSizeOffset, &size, sizeof(size));
  return bytes;
}

void Implement(std::vector<std::uint8_t>& descriptor, std::uint64_t offset,
               const std::vector<void*>& methods) {
  descriptor.at(offset) = 1;
  for (std::size_t k = 0; k < methods.size(); ++k) {
    const std::int64_t adjustment = 0;
    std::memcpy(descriptor.data() + offset + 1 + core::kMethodEntrySize * k, &methods[k], 8);
    std::memcpy(descriptor.data() + offset + 9 + core::kMethodEntrySize * k, &adjustment, 8);
  }
}

Kernel& K() { return Host::Current().Framework(); }

void ErrorSetLocation(void* self, const core::SourceLocation* where) {
  auto* error = static_cast<ErrorValue*>(self);
  error->location = *where;
  error->located = true;
}

core::Result<core::StringObject*> ErrorGetMessage(const void* self) {
  return {nullptr, K().NewString(*static_cast<const ErrorValue*>(self)->message)};
}

const char* const kErrorMessages[] = {"out of memory", "null pointer", "illegal argument",
                                      "illegal state", "function not implemented", "unresolved",
                                      "unknown"};

}  // namespace

// Defined with the published methods.
void PublishFrameworkInterfaces(Kernel& kernel);

Kernel::Kernel(Host& host) : host_(host) {
  BuildDescriptors();
  for (int code = 0; code < iface::errors::kStandardErrorCount; ++code)
    prototypes_.push_back(NewError(code, false));
  invalidType_.descriptor = plainDescriptor_.data();
  invalidType_.flags = 1;  // static: never counted
  invalidType_.name = "invalid";
  int32Type_ = static_cast<DataTypeValue*>(
      NewObject(sizeof(DataTypeValue), plainDescriptor_.data(), nullptr, false));
  int32Type_->name = "int32";
  defaultLogger_ = NewObject(sizeof(void*), plainDescriptor_.data(), nullptr, false);
  utf8Decoding_ = NewObject(sizeof(void*), plainDescriptor_.data(), nullptr, false);
  objectClass_ = NewObject(sizeof(void*), plainDescriptor_.data(), nullptr, false);
  jobs_ = std::make_unique<JobSystem>(*this);

  PublishFrameworkInterfaces(*this);
  // The machine information of the machine the host runs on.
  const std::string key = "net.hostapp.machineinfo.support";
  machineInfo_ = std::map<std::string, bool>{
      {key + "sse2", __builtin_cpu_supports("sse2") != 0},
      {key + "sse3", __builtin_cpu_supports("sse3") != 0},
      {key + "ssse3", __builtin_cpu_supports("ssse3") != 0},
      {key + "sse41", __builtin_cpu_supports("sse4.1") != 0},
      {key + "sse42", __builtin_cpu_supports("sse4.2") != 0},
      {key + "avx", __builtin_cpu_supports("avx") != 0},
      {key + "fma", __builtin_cpu_supports("fma") != 0},
      {key + "aes", __builtin_cpu_supports("aes") != 0},
      {key + "pclmulqdq", __builtin_cpu_supports("pclmul") != 0},
      {key + "avx2", __builtin_cpu_supports("avx2") != 0}};
  PublishObject(iface::Error::kId, iface::Error::kMethods, iface::Error::kMethodCount, kErrorOffset);
  PublishObject(iface::AggregatedError::kId, iface::AggregatedError::kMethods, 4, kAggregatedOffset);
  PublishObject(iface::UnregisteredDataTypeError::kId, nullptr, 0, kUnregisteredOffset);
  for (int code = 0; code < iface::errors::kStandardErrorCount; ++code)
    PublishDeclaration(iface::errors::kPrototypes[code], prototypes_[static_cast<std::size_t>(code)]);
  PublishDeclaration(iface::decl::kDefaultLogger, defaultLogger_);
  PublishDeclaration(iface::decl::kUtf8Decoding, utf8Decoding_);
  PublishDeclaration(iface::decl::kObjectClass, objectClass_);
  PublishDeclaration(iface::decl::kInt32Type, int32Type_);
}

Kernel::~Kernel() {
  jobs_.reset();
  while (!objects_.empty()) DestroyObject(objects_.begin()->first);
  for (auto& [block, where] : allocations_) std::free(block);
}

void Kernel::BuildDescriptors() {
  const std::vector<void*> errorMethods = {
      nullptr, reinterpret_cast<void*>(&ErrorSetLocation), nullptr, nullptr,
      reinterpret_cast<void*>(&ErrorGetMessage)};
  errorDescriptor_ = MakeDescriptor(kDescriptorSize);
  Implement(errorDescriptor_, kErrorOffset, errorMethods);
  unregisteredDescriptor_ = errorDescriptor_;
  Implement(unregisteredDescriptor_, kUnregisteredOffset, {});
  plainDescriptor_ = MakeDescriptor(core::kDescriptorSizeOffset + 8);
}

void Kernel::PublishMethods(const core::EntityId& id, const core::MethodDecl* methods,
                            std::initializer_list<void*> functions) {
  Published& published = interfaces_[IdText(id)];
  published.definition.kind = core::kEntityTableInterface;
  published.definition.id = id;
  published.definition.flags = core::kFlagResolved;
  std::size_t slot = 0;
  for (void* function : functions) {
    const core::MethodDecl& method = methods[slot++];
    const std::string key = std::string(method.name) + "@" + method.hash;
    published.keys.push_back(key);
    published.methods[key] = function;
  }
}

void Kernel::PublishObject(const core::EntityId& id, const core::MethodDecl*, std::size_t,
                           std::uint64_t offset) {
  Published& published = interfaces_[IdText(id)];
  published.definition.kind = core::kEntityObjectInterface;
  published.definition.id = id;
  published.definition.flags = core::kFlagResolved;
  published.methodOffset = offset;
}

void Kernel::PublishDeclaration(const core::EntityId& id, const void* value) {
  auto& declaration = declarations_[IdText(id)];
  declaration.first = value;
  declaration.second.kind = core::kEntityDeclaration;
  declaration.second.id = id;
  declaration.second.flags = core::kFlagResolved;
}

void Kernel::Unpublish(const std::string& interfaceId) { interfaces_.erase(interfaceId); }

void Kernel::UnpublishMethod(const std::string& interfaceId, int slot) {
  Published& published = interfaces_.at(interfaceId);
  published.methods.erase(published.keys.at(static_cast<std::size_t>(slot)));
}

void Kernel::SetSignatureHash(const std::string& interfaceId, int slot, const std::string& hash) {
  Published& published = interfaces_.at(interfaceId);
  std::string& key = published.keys.at(static_cast<std::size_t>(slot));
  void* function = published.methods[key];
  published.methods.erase(key);
  key = key.substr(0, key.find('@') + 1) + hash;
  published.methods[key] = function;
}

void Kernel::MarkFailed(const std::string& interfaceId) { interfaces_[interfaceId].failed = true; }

void Kernel::UnpublishDeclaration(const std::string& id) { unpublishedDeclarations_.insert(id); }

void Kernel::SetDefaultDictionary(std::optional<std::map<std::string, bool>> values) {
  if (values) {
    defaultDictionary_ = NewDictionary(*values, false);
    PublishDeclaration(iface::decl::kDefaultDictionary, defaultDictionary_);
  } else {
    declarations_.erase(IdText(iface::decl::kDefaultDictionary));
  }
}

std::uint64_t Kernel::MethodOffset(const std::string& interfaceId) const {
  return interfaces_.at(interfaceId).methodOffset;
}

bool Kernel::IsDefinition(const void* definition) const {
  for (const auto& [id, published] : interfaces_)
    if (&published.definition == definition) return true;
  for (const auto& [id, declaration] : declarations_)
    if (&declaration.second == definition) return true;
  return false;
}

// ---- binding ----

core::ErrorRef Kernel::BindNothing(core::FunctionTableReference*, void**, const std::uint8_t*,
                                   std::int64_t) {
  return nullptr;
}

core::ErrorRef Kernel::BindTable(core::FunctionTableReference* reference, void** table,
                                 const std::uint8_t* kinds, std::int64_t count) {
  Kernel& kernel = K();
  auto found = kernel.interfaces_.find(IdText(reference->head.id));
  if (found == kernel.interfaces_.end()) return nullptr;
  if (kinds == nullptr || table != reference->table || reference->tableEnd != table + count)
    kernel.host_.Fail("malformed function-table reference " + IdText(reference->head.id));
  std::int64_t slot = 0;
  for (const char* entry = reference->methodNames; *entry != '\0'; entry += std::strlen(entry) + 1, ++slot) {
    const std::string key(entry);
    const std::size_t at = key.find('@');
    if (at == std::string::npos || key.size() - at - 1 != core::kSignatureHashDigits)
      kernel.host_.Fail("malformed method name entry '" + key + "'");
    auto method = found->second.methods.find(key);
    if (method != found->second.methods.end() && slot < count) table[slot] = method->second;
  }
  if (slot != count) kernel.host_.Fail("method-name list of " + IdText(reference->head.id) + " has " +
                                       std::to_string(slot) + " entries, count " + std::to_string(count));
  return nullptr;
}

void Kernel::Initializer(core::ErrorRef* error, void* definition, const core::EntityId*) {
  Kernel& kernel = K();
  *error = kernel.IsDefinition(definition)
               ? nullptr
               : reinterpret_cast<core::ErrorRef>(kernel.NewError(core::kErrorUnresolved, true));
}

void Kernel::BindReference(core::EntityRecord* record) {
  const std::string id = IdText(record->id);
  switch (record->kind) {
    case core::kEntityTableInterface: {
      auto* reference = reinterpret_cast<core::FunctionTableReference*>(record);
      auto found = interfaces_.find(id);
      const bool failed = found != interfaces_.end() && found->second.failed;
      if (found == interfaces_.end() || failed ||
          found->second.definition.kind != core::kEntityTableInterface) {
        reference->installer(&BindNothing, reference->table);
        if (failed) record->flags |= core::kFlagResolved | core::kFlagResolveFailed;
        return;
      }
      reference->installer(&BindTable, reference->table);
      reference->definition = &found->second.definition;
      record->flags |= core::kFlagResolved;
      return;
    }
    case core::kEntityObjectInterface: {
      auto* reference = reinterpret_cast<core::ObjectInterfaceReference*>(record);
      auto found = interfaces_.find(id);
      if (found == interfaces_.end() || found->second.failed ||
          found->second.definition.kind != core::kEntityObjectInterface)
        return;
      reference->methodOffset = found->second.methodOffset;
      reference->definition = &found->second.definition;
      record->flags |= core::kFlagResolved;
      return;
    }
    case core::kEntityDeclaration:
    case core::kEntityClass:
    case core::kEntityDataType: {
      auto* reference = reinterpret_cast<core::DeclarationReference*>(record);
      auto found = declarations_.find(id);
      if (found == declarations_.end() || unpublishedDeclarations_.count(id) != 0) return;
      reference->definition = &found->second.second;
      reference->value = found->second.first;
      record->flags |= core::kFlagResolved;
      return;
    }
    case core::kEntityRegistry:
      record->flags |= core::kFlagResolved;
      return;
    default:
      host_.Fail("unexpected record kind " + std::to_string(record->kind) + " in a reference list");
  }
}

void Kernel::Bind(core::ModuleRecord* framework) {
  framework_ = framework;
  configuration_.clear();  // entries of an earlier load are gone with its library
  if (framework->versions[0] != 2023904 || framework->versions[1] != 2024000)
    host_.Fail("module record versions are not 2023904 and 2024000");
  if (!withholdInitializer_) framework->initializer = &Initializer;
  std::uint64_t value = 1;
  for (core::StaticIdNode* node = framework->constants; node != nullptr; node = node->next)
    node->constant->value = value++;
  for (core::ModuleEntry* module = framework->modules; module != nullptr; module = module->nextModule)
    for (core::EntityRecord* record = module->referencesHead; record != nullptr; record = record->next)
      BindReference(record);
}

template <typename F>
void Kernel::ForEachStartRecord(F&& f) {
  if (framework_ == nullptr) return;
  for (core::ModuleEntry* module = framework_->modules; module != nullptr; module = module->nextModule)
    for (core::EntityRecord* unit = module->unitsHead; unit != nullptr; unit = unit->next) {
      auto* unitRecord = reinterpret_cast<core::TranslationUnitRecord*>(unit);
      for (core::EntityRecord* child = unitRecord->childHead; child != nullptr; child = child->next)
        if (child->kind == core::kEntityStartFunctions)
          f(*reinterpret_cast<core::StartFunctionRecord*>(child));
    }
}

void Kernel::RunStartFunctions() {
  ForEachStartRecord([&](core::StartFunctionRecord& record) {
    if (record.start == nullptr) return;
    if (core::ErrorRef error = record.start()) startErrors_.push_back(ErrorText(error));
  });
}

void Kernel::RunEndFunctions() {
  ForEachStartRecord([&](core::StartFunctionRecord& record) {
    if (record.end != nullptr) record.end();
  });
  framework_ = nullptr;
}

void Kernel::CheckReleased() {
  if (skipReleaseCheck_) return;
  for (const void* object : pluginObjects_) {
    std::string what = "framework object";
    if (objects_.count(object) != 0 && *static_cast<const std::uint8_t* const*>(object) == plainDescriptor_.data())
      what = "string or object";
    host_.Fail("the plug-in did not release a " + what + " it was given");
  }
  for (const auto& [block, where] : allocations_)
    host_.Fail("framework memory not freed: allocated at " + where);
  pluginObjects_.clear();
}

// ---- objects and memory ----

void* Kernel::NewObject(std::size_t size, const std::uint8_t* descriptor,
                        std::function<void(void*)> destroy, bool forPlugin) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto* block = static_cast<char*>(std::calloc(1, 8 + size));
  *reinterpret_cast<std::int64_t*>(block) = core::kReferenceUnit;
  void* object = block + 8;
  *static_cast<const std::uint8_t**>(object) = descriptor;
  objects_[object] = std::move(destroy);
  blocks_[object] = block;
  if (forPlugin) pluginObjects_.insert(object);
  return object;
}

std::int64_t& Kernel::CountWord(const void* object) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return *reinterpret_cast<std::int64_t*>(static_cast<char*>(blocks_.at(object)));
}

void Kernel::DestroyObject(const void* object) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  auto found = objects_.find(object);
  if (found == objects_.end()) {
    host_.Fail("destroying an object the host does not know");
    return;
  }
  if (found->second) found->second(const_cast<void*>(object));
  std::free(blocks_.at(object));
  blocks_.erase(object);
  pluginObjects_.erase(object);
  objects_.erase(found);
}

core::StringObject* Kernel::NewString(const std::string& text, bool forPlugin) {
  auto* string = static_cast<StringValue*>(NewObject(
      sizeof(StringValue), plainDescriptor_.data(),
      [](void* object) { delete static_cast<StringValue*>(object)->text; }, forPlugin));
  string->text = new std::string(text);
  return reinterpret_cast<core::StringObject*>(string);
}

std::string Kernel::StringText(const core::StringObject* string) const {
  if (string == nullptr) return std::string();
  if (objects_.count(string) == 0) {
    const_cast<Host&>(host_).Fail("a string the host does not know");
    return std::string();
  }
  return *reinterpret_cast<const StringValue*>(string)->text;
}

ErrorValue* Kernel::NewError(int code, bool forPlugin) {
  auto* error = static_cast<ErrorValue*>(NewObject(
      sizeof(ErrorValue), errorDescriptor_.data(),
      [](void* object) { delete static_cast<ErrorValue*>(object)->message; }, forPlugin));
  const int index = code >= 0 && code < 7 ? code : 6;
  error->message = new std::string(kErrorMessages[index]);
  error->code = index;
  return error;
}

std::string Kernel::ErrorText(core::ErrorRef error) const {
  if (error == nullptr) return "no error";
  if (objects_.count(error) == 0) return "module-local error";
  return *reinterpret_cast<const ErrorValue*>(error)->message;
}

core::DictionaryObject* Kernel::NewDictionary(const std::map<std::string, bool>& values, bool forPlugin) {
  auto* dictionary = static_cast<DictionaryValue*>(NewObject(
      sizeof(DictionaryValue), plainDescriptor_.data(),
      [](void* object) { delete static_cast<DictionaryValue*>(object)->values; }, forPlugin));
  dictionary->values = new std::map<std::string, bool>(values);
  return reinterpret_cast<core::DictionaryObject*>(dictionary);
}

bool Kernel::TakeAllocation() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  return ++allocationCount_ != failAllocation_;
}

void* Kernel::Allocate(std::size_t size, const core::SourceLocation* where) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  void* block = std::calloc(1, size == 0 ? 1 : size);
  allocations_[block] = where != nullptr && where->file != nullptr
                            ? std::string(where->file) + ":" + std::to_string(where->line)
                            : std::string("unknown place");
  return block;
}

void Kernel::Release(void* block) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (block == nullptr) return;
  if (allocations_.erase(block) == 0) {
    host_.Fail("freeing memory the host did not allocate (or freeing it twice)");
    return;
  }
  std::free(block);
}

void Kernel::DropReference(const void* object) {
  if (object == nullptr || objects_.count(object) == 0) return;
  std::int64_t& count = CountWord(object);
  const std::int64_t before = count;
  count -= core::kReferenceUnit;
  if (before < 2 * core::kReferenceUnit) DestroyObject(object);
}

std::string Kernel::ConsoleText() const {
  std::string text;
  for (const ConsoleWrite& write : console_) text += write.text;
  return text;
}

bool Kernel::SetConfiguration(const std::string& name, std::uint8_t value) {
  for (const core::ConfigurationEntry* entry : configuration_) {
    if (name == entry->name) {
      *static_cast<std::uint8_t*>(entry->storage) = value;
      return true;
    }
  }
  return false;
}

}  // namespace testhost
