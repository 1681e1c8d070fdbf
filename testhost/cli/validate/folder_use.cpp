#include "folder_use.h"

#include <algorithm>
#include <filesystem>

#include "testhost/full_session.h"
#include "testhost/host.h"

namespace validate {

namespace {

namespace fs = std::filesystem;

template <typename T>
std::vector<T> EachOnce(const std::vector<T>& items) {
  std::vector<T> once;
  for (const T& item : items)
    if (std::find(once.begin(), once.end(), item) == once.end()) once.push_back(item);
  return once;
}

}  // namespace

FolderUse RunFolderSession(const std::string& plugin) {
  testhost::Host host(plugin, testhost::Host::Mode::kTablesOnly);
  host.Load();
  const testhost::SessionScene scene = testhost::BuildSessionScene(host.SceneModel());
  FolderUse use;
  const testhost::SessionRecord record = testhost::RunSession(host, scene);
  use.dialogOpened = record.opened;
  use.helpFiles = record.helpFiles;
  use.resourceFolders = EachOnce(host.ResourceModel().openAttempts);
  use.strings = EachOnce(host.ResourceModel().stringsAsked);
  use.images = EachOnce(host.BitmapModel().filesAsked);
  for (const testhost::RegisteredCommand& command : host.CommandModel().Registered())
    if (command.icon != nullptr) use.icons.push_back(*command.icon);
  return use;
}

std::string InPluginFolder(const std::string& file, const std::string& plugin) {
  const fs::path folder = fs::absolute(fs::path(plugin)).parent_path();
  const fs::path relative = fs::absolute(fs::path(file)).lexically_normal().lexically_relative(folder);
  if (relative.empty() || *relative.begin() == "..") return file;
  return relative.generic_string();
}

}  // namespace validate
