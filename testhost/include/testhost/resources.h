#pragma once
// Resource folders as the test host reads them: a folder holding "strings.res"
// (strings_file.h). An open folder belongs to the plug-in until it closes it; its
// strings and the shared empty string stay the host's.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "testhost/abi.h"

namespace testhost {

class Kernel;
class Ownership;

struct ResourceFolder {
  std::string path;
  std::map<std::int32_t, FrameworkObject*> strings;  // host-owned strings, by id
};

class Resources {
 public:
  Resources(Kernel& kernel, Ownership& objects);
  ~Resources();
  Resources(const Resources&) = delete;
  Resources& operator=(const Resources&) = delete;

  ResourceFolder* Open(const std::string& folder);
  ResourceFolder* Find(const void* folder);  // an open folder, or null
  // The host's string for an id: the empty string for an id the folder lacks, or
  // null for an id the host is told to answer so.
  const FrameworkObject* const* String(ResourceFolder* folder, std::int32_t id);
  // The plug-in closes a folder through `route`; false (and a failure naming it)
  // when it may not.
  bool Close(const void* folder, const std::string& route);
  std::size_t OpenFolders() const { return folders_.size(); }
  int Opened() const { return opened_; }
  // The host's shared empty string, which the strings table's first entry points to.
  FrameworkObject* const* EmptyString() const { return &empty_; }

  // Ids whose string the host answers with null.
  std::set<std::int32_t> nullStrings;
  // Every folder the plug-in asked to open, as path text.
  std::vector<std::string> openAttempts;
  // Every string the plug-in asked for: the folder's path and the id.
  std::vector<std::pair<std::string, std::int32_t>> stringsAsked;
  // The flag each close came with.
  std::vector<int> closeFlags;

 private:
  void Drop(const void* folder);
  Kernel& kernel_;
  Ownership& objects_;
  std::map<const void*, std::unique_ptr<ResourceFolder>> folders_;
  FrameworkObject* empty_ = nullptr;
  int opened_ = 0;
};

}  // namespace testhost
