#pragma once
// The library's registration records as the host reads them through g_framework:
// by byte offset, never through the plug-in's own declarations.
#include <cstdint>
#include <string>
#include <vector>

#include "testhost/abi.h"

namespace testhost {

class Records {
 public:
  explicit Records(const void* framework) : framework_(framework) {}

  // A list is walked this far at most: one that reaches it does not end.
  static constexpr std::size_t kLongestList = 100000;

  const void* Framework() const { return framework_; }
  std::vector<const unsigned char*> Modules() const;
  const unsigned char* Module(const std::string& id) const;
  std::vector<const unsigned char*> Units(const void* module) const;
  const unsigned char* Unit(const void* module, const std::string& name) const;
  std::vector<const unsigned char*> References(const void* module) const;
  const unsigned char* Reference(const void* module, const std::string& id) const;
  std::vector<const unsigned char*> Children(const void* unit) const;
  // Header uses and initializer dependencies of a unit.
  std::vector<const unsigned char*> Uses(const void* unit) const;
  std::vector<const unsigned char*> Dependencies(const void* unit) const;
  // The identifiers a module entry lists as its dependencies.
  std::vector<std::string> ModuleDependencies(const void* module) const;

  static std::int32_t Kind(const void* record) { return ReadAt<std::int32_t>(record, record::kKind); }
  static std::uint32_t Flags(const void* record) { return ReadAt<std::uint32_t>(record, record::kFlags); }
  static IdValue Id(const void* record) { return IdAt(record, record::kId); }
  static std::string Name(const void* record) { return IdText(Id(record)); }
  static const unsigned char* Owner(const void* record) { return ReadAt<const unsigned char*>(record, record::kOwner); }

 private:
  static std::vector<const unsigned char*> List(const unsigned char* head, std::size_t nextOffset);
  const void* framework_;
};

}  // namespace testhost
