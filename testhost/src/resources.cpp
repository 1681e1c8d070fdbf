#include "testhost/resources.h"

#include <filesystem>
#include <fstream>

#include "testhost/host.h"

namespace testhost {

Resources::Resources(Host& host) : host_(host) { empty_ = host_.Framework().NewString("", Owner::kHost, "the host's shared empty string"); }

Resources::~Resources() {
  while (!folders_.empty()) Drop(folders_.begin()->second.get());
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
    std::string text;
    for (std::size_t at = equals + 1; at < line.size(); ++at) {
      if (line[at] == '\\' && at + 1 < line.size() && line[at + 1] == 'n') {
        text += '\n';
        ++at;
      } else {
        text += line[at];
      }
    }
    const auto id = static_cast<std::int32_t>(std::stol(line.substr(0, equals)));
    loaded->strings[id] = host_.Framework().NewString(text, Owner::kHost, "resource folder " + folder);
  }
  ResourceFolder* raw = loaded.get();
  folders_[raw] = std::move(loaded);
  ++opened_;
  return raw;
}

const FrameworkObject* const* Resources::String(ResourceFolder* folder, std::int32_t id) {
  if (folders_.count(folder) == 0) {
    host_.Fail("reading a string of a resource folder the host did not open");
    return EmptyString();
  }
  auto found = folder->strings.find(id);
  return found != folder->strings.end() ? &found->second : EmptyString();
}

void Resources::Drop(ResourceFolder* folder) {
  for (auto& [id, string] : folder->strings) host_.Framework().DestroyObject(string);
  folders_.erase(folder);
}

void Resources::Close(ResourceFolder* folder, std::uint8_t) {
  if (folders_.count(folder) == 0) {
    host_.Fail("closing a resource folder the host did not open (or closing it twice)");
    return;
  }
  Drop(folder);
}

namespace {

Resources& R() { return Host::Current().ResourceModel(); }

ResourceFolder* OpenEntry(const PathValue* const* path) {
  return R().Open(path != nullptr && *path != nullptr ? (*path)->text : std::string());
}
const FrameworkObject* const* StringEntry(ResourceFolder* folder, std::int32_t id) {
  return R().String(folder, id);
}
void CloseEntry(ResourceFolder* folder, std::uint8_t flag) { R().Close(folder, flag); }

}  // namespace

void InstallResourceEntries(Host& host) {
  Install<entry::ResourceOpen, &OpenEntry>(host);
  Install<entry::ResourceGetString, &StringEntry>(host);
  Install<entry::ResourceClose, &CloseEntry>(host);
  host.SetRawEntry(entry::SharedEmptyString,
                   const_cast<void*>(static_cast<const void*>(host.ResourceModel().EmptyString())));
}

}  // namespace testhost
