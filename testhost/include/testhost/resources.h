#pragma once
// Resource folders as the test host reads them: a folder holding "strings.res",
// one "id=text" line per string ("#" starts a comment line, "\n" in a text is a
// line break).
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testhost/abi.h"

namespace testhost {

class Host;

struct ResourceFolder {
  std::string path;
  std::map<std::int32_t, FrameworkObject*> strings;  // host-owned strings, by id
};

class Resources {
 public:
  explicit Resources(Host& host);
  ~Resources();

  ResourceFolder* Open(const std::string& folder);
  const FrameworkObject* const* String(ResourceFolder* folder, std::int32_t id);
  void Close(ResourceFolder* folder, std::uint8_t flag);
  std::size_t OpenFolders() const { return folders_.size(); }
  int Opened() const { return opened_; }
  // Every folder the plug-in asked to open, as path text.
  std::vector<std::string> openAttempts;
  // The host's shared empty string, which the strings table's first entry points to.
  FrameworkObject* const* EmptyString() const { return &empty_; }

 private:
  void Drop(ResourceFolder* folder);
  Host& host_;
  std::map<const ResourceFolder*, std::unique_ptr<ResourceFolder>> folders_;
  FrameworkObject* empty_ = nullptr;
  int opened_ = 0;
};

void InstallResourceEntries(Host& host);

}  // namespace testhost
