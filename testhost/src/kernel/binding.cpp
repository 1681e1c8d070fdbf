// Binding the library's registration records, read by byte offset through
// g_framework: module entries, their reference lists and units, interface
// references, declarations, static identifier constants and start functions.
#include <cstring>

#include "testhost/current.h"
#include "testhost/fault_log.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using Bytes = unsigned char*;

Bytes Next(const void* record) { return ReadAt<Bytes>(record, record::kNext); }
std::int32_t KindOf(const void* record) { return ReadAt<std::int32_t>(record, record::kKind); }
std::uint32_t FlagsOf(const void* record) { return ReadAt<std::uint32_t>(record, record::kFlags); }

// Method kind codes the kernel knows.
bool KnownMethodKind(std::uint8_t kind) {
  for (int known : {0, 2, 6, 7, 8, 10, 11})
    if (kind == known) return true;
  return false;
}

// A list that does not end within this many records is taken to be circular.
constexpr int kLongestList = 100000;

}  // namespace

void Kernel::Save(void* at, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(at);
  saved_.emplace_back(at, std::vector<unsigned char>(bytes, bytes + size));
}

void Kernel::CheckIdentifier(const void* record, const char* what) {
  const IdValue id = IdAt(record, record::kId);
  if ((id.word & id::kOwnedText) != 0)
    faults_.Fail(std::string(what) + " '" + IdText(id) + "': a static record owns its identifier text");
  if (id.text == nullptr) return;
  const std::uint64_t expected = MakeId(id.text).word;
  if ((id.word & ~id::kOwnedText) != expected)
    faults_.Fail(std::string(what) + " '" + IdText(id) + "': identifier word is wrong (length or hash)");
}

template <typename F>
void Kernel::ForEachModule(F&& f) {
  if (framework_ == nullptr) return;
  int seen = 0;
  for (Bytes module = ReadAt<Bytes>(framework_, module::kModules); module != nullptr;
       module = ReadAt<Bytes>(module, record::kModuleNext)) {
    if (++seen > kLongestList) {
      faults_.Fail("the module list of g_framework does not end");
      return;
    }
    f(module);
  }
}

template <typename F>
void Kernel::ForEachStartRecord(F&& f) {
  ForEachModule([&](Bytes module) {
    for (Bytes unit = ReadAt<Bytes>(module, record::kModuleUnits); unit != nullptr; unit = Next(unit))
      for (Bytes child = ReadAt<Bytes>(unit, record::kUnitChildHead); child != nullptr; child = Next(child))
        if (KindOf(child) == record::kStartFunctions) f(child);
  });
}

ErrorHandle Kernel::BindNothing(void*, void**, const std::uint8_t*, std::int64_t) { return nullptr; }

ErrorHandle Kernel::BindTable(void* reference, void** table, const std::uint8_t* kinds, std::int64_t count) {
  Kernel& kernel = CurrentKernel();
  const std::string name = IdText(IdAt(reference, record::kId));
  Contract contract("binding " + name);
  contract.NotNull(reference, "reference");
  contract.Check(table == ReadAt<void**>(reference, record::kTable), "table", "must be the reference's table");
  contract.Check(ReadAt<void**>(reference, record::kTableEnd) == table + count, "count",
                 "must match the reference's table end");
  contract.Check(ReadAt<std::int64_t>(reference, record::kMethodCount) == count, "count",
                 "must be the reference's method count");
  if (contract.NotNull(kinds, "kinds"))
    for (std::int64_t slot = 0; slot < count; ++slot)
      if (!KnownMethodKind(kinds[slot]))
        contract.Fail("kinds", "holds the unknown method kind " + std::to_string(kinds[slot]));
  kernel.FillTable(reference, table, count);
  return nullptr;
}

void Kernel::FillTable(const void* reference, void** table, std::int64_t count) {
  const std::string name = IdText(IdAt(reference, record::kId));
  Interface* published = FindInterface(name, record::kTableInterface);
  if (published == nullptr) return;
  std::int64_t slot = 0;
  for (const char* entry = ReadAt<const char*>(reference, record::kMethodNames); *entry != '\0';
       entry += std::strlen(entry) + 1, ++slot) {
    const std::string key(entry);
    const std::size_t at = key.find('@');
    if (at == std::string::npos || key.size() - at - 1 != 16 ||
        key.find_first_not_of("0123456789abcdef", at + 1) != std::string::npos)
      faults_.Fail("binding " + name + ": malformed method name entry '" + key + "'");
    auto method = published->methods.find(key);
    if (method != published->methods.end() && slot < count) table[slot] = method->second;
  }
  if (slot != count)
    faults_.Fail("binding " + name + ": the method-name list has " + std::to_string(slot) +
               " entries, the count is " + std::to_string(count));
}

void Kernel::Initializer(ErrorHandle* error, void* definition, const IdValue* id) {
  Kernel& kernel = CurrentKernel();
  Contract contract("(the kernel's initializer)");
  if (!contract.NotNull(error, "error") || !contract.NotNull(id, "id")) return;
  contract.Null(*error, "error (the out-value must start empty)");
  const std::string name = IdText(*id);
  if (kernel.failingInitializers_.count(name) != 0 || !kernel.IsDefinition(definition)) {
    *error = kernel.PluginError(error::kUnresolved, "the kernel's initializer for " + name);
    return;
  }
  *error = nullptr;
}

void Kernel::OnDemand(void** table) {
  Kernel& kernel = CurrentKernel();
  auto found = kernel.onDemandTables_.find(table);
  if (found == kernel.onDemandTables_.end()) {
    kernel.faults_.Fail("an on-demand binding for a table the kernel does not know");
    return;
  }
  kernel.FillTable(found->second, table, ReadAt<std::int64_t>(found->second, record::kMethodCount));
}

void Kernel::CalledUnpublished(void** table) {
  Kernel& kernel = CurrentKernel();
  auto found = kernel.unpublishedTables_.find(table);
  kernel.faults_.Fail("the plug-in called a method of " +
                    (found != kernel.unpublishedTables_.end() ? found->second : std::string("an unknown table")) +
                    ", an interface the kernel does not publish");
}

void Kernel::BindReference(unsigned char* reference) {
  const std::int32_t kind = KindOf(reference);
  const std::string name = IdText(IdAt(reference, record::kId));
  CheckIdentifier(reference, "reference");
  if ((FlagsOf(reference) & record::kConstructed) == 0) faults_.Fail("reference '" + name + "' was never constructed");
  Save(reference, record::kHead);
  switch (kind) {
    case record::kTableInterface: {
      Save(reference + record::kHead, record::kTableReferenceSize - record::kHead);
      const auto installer = ReadAt<ErrorHandle (*)(void*, void**)>(reference, record::kInstaller);
      auto** table = ReadAt<void**>(reference, record::kTable);
      const auto count = ReadAt<std::int64_t>(reference, record::kMethodCount);
      if (installer == nullptr || table == nullptr || count < 0) {
        faults_.Fail("function-table reference '" + name + "' has no installer or table");
        return;
      }
      Save(table, static_cast<std::size_t>(count) * sizeof(void*));
      Interface* published = FindInterface(name, record::kTableInterface);
      const bool failed = published != nullptr && published->failed;
      if (onDemand_.count(name) != 0 && published != nullptr && !failed) {
        installer(reinterpret_cast<void*>(&BindNothing), table);
        onDemandTables_[table] = reference;
        WriteAt(reference, record::kOnDemand, reinterpret_cast<void*>(&OnDemand));
        return;
      }
      if (published == nullptr || failed) {
        installer(reinterpret_cast<void*>(&BindNothing), table);
        if (failed)
          WriteAt(reference, record::kFlags, FlagsOf(reference) | record::kResolved | record::kResolveFailed);
        if (published == nullptr && withheld_.count(name) == 0) {
          // Not withheld by a test: an interface this kernel has never published. The
          // module may name it, but a call of one of its methods asks the on-demand
          // slot first, which records the call; the fallbacks still answer.
          unpublishedTables_[table] = name;
          WriteAt(reference, record::kOnDemand, reinterpret_cast<void*>(&CalledUnpublished));
        }
        return;
      }
      installer(reinterpret_cast<void*>(&BindTable), table);
      WriteAt(reference, record::kTableDefinition, static_cast<void*>(published->definition.get()));
      WriteAt(reference, record::kFlags, FlagsOf(reference) | record::kResolved);
      return;
    }
    case record::kObjectInterface: {
      Save(reference + record::kHead, record::kMethodKinds + 8 - record::kHead);
      if (ReadAt<std::int64_t>(reference, record::kMinusOne) != -1 ||
          ReadAt<std::uint64_t>(reference, record::kIdCopy + id::kWord) != IdAt(reference, record::kId).word)
        faults_.Fail("object-dispatch reference '" + name + "' is malformed");
      Interface* published = FindInterface(name, record::kObjectInterface);
      if (published == nullptr || published->failed) return;
      WriteAt(reference, record::kMethodOffset, published->methodOffset);
      WriteAt(reference, record::kObjectDefinition, static_cast<void*>(published->definition.get()));
      WriteAt(reference, record::kFlags, FlagsOf(reference) | record::kResolved);
      return;
    }
    case record::kDeclaration:
    case record::kClass:
    case record::kDataType: {
      Save(reference + record::kHead, record::kDeclarationValue + 8 - record::kHead);
      auto found = declarations_.find(name);
      if (found == declarations_.end() || unpublishedDeclarations_.count(name) != 0) return;
      WriteAt(reference, record::kDeclarationDefinition, static_cast<void*>(found->second.definition.get()));
      WriteAt(reference, record::kDeclarationValue, found->second.value);
      WriteAt(reference, record::kFlags, FlagsOf(reference) | record::kResolved);
      return;
    }
    case record::kRegistry:
      WriteAt(reference, record::kFlags, FlagsOf(reference) | record::kResolved);
      return;
    default:
      faults_.Fail("unexpected record kind " + std::to_string(kind) + " in the reference list ('" + name + "')");
  }
}

void Kernel::Bind(void* framework) {
  framework_ = framework;
  configuration_.clear();  // entries of an earlier load are gone with its library
  if (ReadAt<std::uint64_t>(framework, module::kVersions) != kModuleVersions[0] ||
      ReadAt<std::uint64_t>(framework, module::kVersions + 8) != kModuleVersions[1])
    faults_.Fail("module record versions are not 2023904 and 2024000");
  Save(static_cast<char*>(framework) + module::kInitializer, sizeof(void*));
  if (!withholdInitializer_) WriteAt(framework, module::kInitializer, reinterpret_cast<void*>(&Initializer));
  std::uint64_t value = 1;
  int seen = 0;
  for (Bytes node = ReadAt<Bytes>(framework, module::kConstants); node != nullptr;
       node = ReadAt<Bytes>(node, module::kNodeNext)) {
    if (++seen > kLongestList) {
      faults_.Fail("the static identifier list of g_framework does not end");
      break;
    }
    auto* constant = ReadAt<Bytes>(node, module::kNodeConstant);
    if (constant == nullptr || ReadAt<const char*>(node, module::kNodeText) == nullptr) {
      faults_.Fail("a static identifier constant without value or text");
      continue;
    }
    Save(constant, sizeof(std::uint64_t));
    WriteAt(constant, 0, value++);
  }
  ForEachModule([&](Bytes module) {
    if (KindOf(module) != record::kModule) faults_.Fail("a module entry of kind " + std::to_string(KindOf(module)));
    CheckIdentifier(module, "module");
    if (ReadAt<void*>(module, record::kModuleFramework) != framework)
      faults_.Fail("module '" + IdText(IdAt(module, record::kId)) + "' does not point back to g_framework");
    int references = 0;
    for (Bytes reference = ReadAt<Bytes>(module, record::kModuleReferences); reference != nullptr;
         reference = Next(reference)) {
      if (++references > kLongestList) {
        faults_.Fail("a reference list does not end");
        break;
      }
      BindReference(reference);
    }
  });
}

void Kernel::RunStartFunctions() {
  ForEachStartRecord([&](Bytes record) {
    const auto start = ReadAt<ErrorHandle (*)()>(record, record::kStartFunction);
    if (start == nullptr) return;
    // A unit that cannot start answers an error; the host takes it back.
    if (ErrorHandle error = start()) FreeByPlugin(error, "a start function's answer");
  });
}

void Kernel::RunEndFunctions() {
  ForEachStartRecord([&](Bytes record) {
    const auto end = ReadAt<void (*)()>(record, record::kEndFunction);
    if (end != nullptr) end();
  });
}

void Kernel::Unbind() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
    std::memcpy(it->first, it->second.data(), it->second.size());
  saved_.clear();
  onDemandTables_.clear();
  unpublishedTables_.clear();
  framework_ = nullptr;
}

}  // namespace testhost
