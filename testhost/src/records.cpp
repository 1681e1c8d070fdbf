#include "testhost/records.h"

namespace testhost {

std::vector<const unsigned char*> Records::List(const unsigned char* head, std::size_t nextOffset) {
  std::vector<const unsigned char*> records;
  for (const unsigned char* at = head; at != nullptr && records.size() < kLongestList;
       at = ReadAt<const unsigned char*>(at, nextOffset))
    records.push_back(at);
  return records;
}

std::vector<const unsigned char*> Records::Modules() const {
  if (framework_ == nullptr) return {};
  return List(ReadAt<const unsigned char*>(framework_, module::kModules), record::kModuleNext);
}

const unsigned char* Records::Module(const std::string& id) const {
  for (const unsigned char* module : Modules())
    if (Name(module) == id) return module;
  return nullptr;
}

std::vector<const unsigned char*> Records::Units(const void* module) const {
  return List(ReadAt<const unsigned char*>(module, record::kModuleUnits), record::kNext);
}

const unsigned char* Records::Unit(const void* module, const std::string& name) const {
  for (const unsigned char* unit : Units(module))
    if (Name(unit) == name) return unit;
  return nullptr;
}

std::vector<const unsigned char*> Records::References(const void* module) const {
  return List(ReadAt<const unsigned char*>(module, record::kModuleReferences), record::kNext);
}

const unsigned char* Records::Reference(const void* module, const std::string& id) const {
  for (const unsigned char* reference : References(module))
    if (Name(reference) == id) return reference;
  return nullptr;
}

std::vector<const unsigned char*> Records::Children(const void* unit) const {
  return List(ReadAt<const unsigned char*>(unit, record::kUnitChildHead), record::kNext);
}

std::vector<const unsigned char*> Records::Uses(const void* unit) const {
  return List(ReadAt<const unsigned char*>(unit, record::kUnitUses), record::kUseNext);
}

std::vector<const unsigned char*> Records::Dependencies(const void* unit) const {
  return List(ReadAt<const unsigned char*>(unit, record::kUnitDependencies), record::kDependencyNext);
}

std::vector<std::string> Records::ModuleDependencies(const void* module) const {
  std::vector<std::string> names;
  const auto* ids = ReadAt<const unsigned char*>(module, record::kModuleDependencies);
  const auto count = ReadAt<std::int64_t>(module, record::kModuleDependencyCount);
  for (std::int64_t i = 0; ids != nullptr && i < count; ++i)
    names.push_back(IdText(IdAt(ids, static_cast<std::size_t>(i) * id::kSize)));
  return names;
}

}  // namespace testhost
