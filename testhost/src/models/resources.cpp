#include "testhost/resources.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "testhost/kernel.h"
#include "testhost/ownership.h"
#include "testhost/strings_file.h"

namespace testhost {

Resources::Resources(Kernel& kernel, Ownership& objects) : kernel_(kernel), objects_(objects) {
  empty_ = kernel_.NewString("", Owner::kHost, "the host's shared empty string");
}

Resources::~Resources() {
  while (!folders_.empty()) Drop(folders_.begin()->first);
}

ResourceFolder* Resources::Open(const std::string& folder) {
  openAttempts.push_back(folder);
  std::ifstream in(std::filesystem::path(folder) / "strings.res");
  if (!in) return nullptr;
  std::ostringstream content;
  content << in.rdbuf();
  auto loaded = std::make_unique<ResourceFolder>();
  loaded->path = folder;
  // Lines the host cannot read are skipped, as a host does.
  for (const auto& [id, text] : ParseStrings(content.str()).strings)
    loaded->strings[id] = kernel_.NewString(text, Owner::kHost, "resource folder " + folder);
  ResourceFolder* raw = loaded.get();
  folders_[raw] = std::move(loaded);
  ++opened_;
  objects_.HandOut(raw, "resource folder", Owner::kPlugin, Describe(entry::ResourceOpen) + " of " + folder,
                          Describe(entry::ResourceClose));
  return raw;
}

ResourceFolder* Resources::Find(const void* folder) {
  auto found = folders_.find(folder);
  return found != folders_.end() ? found->second.get() : nullptr;
}

const FrameworkObject* const* Resources::String(ResourceFolder* folder, std::int32_t id) {
  stringsAsked.emplace_back(folder->path, id);
  if (nullStrings.count(id) != 0) return nullptr;
  auto found = folder->strings.find(id);
  return found != folder->strings.end() ? &found->second : EmptyString();
}

void Resources::Drop(const void* folder) {
  auto found = folders_.find(folder);
  for (auto& [id, string] : found->second->strings) kernel_.DestroyObject(string);
  objects_.Retire(folder);
  folders_.erase(found);
}

bool Resources::Close(const void* folder, const std::string& route) {
  if (!objects_.GiveBack(folder, route)) return false;
  if (folders_.count(folder) == 0) return false;
  Drop(folder);
  return true;
}

}  // namespace testhost
