#include "testhost/resources.h"

#include <filesystem>
#include <fstream>

#include "testhost/kernel.h"
#include "testhost/ownership.h"

namespace testhost {

namespace {

// A text with "\n" turned into line breaks.
std::string Unescaped(const std::string& text) {
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] == 'n') {
      out += '\n';
      ++at;
    } else {
      out += text[at];
    }
  }
  return out;
}

}  // namespace

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
  auto loaded = std::make_unique<ResourceFolder>();
  loaded->path = folder;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const auto id = static_cast<std::int32_t>(std::stol(line.substr(0, equals)));
    loaded->strings[id] =
        kernel_.NewString(Unescaped(line.substr(equals + 1)), Owner::kHost, "resource folder " + folder);
  }
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
