#pragma once
// What a plug-in reads of its folder through the host in one full session: the
// resource folders it opens and the strings it asks for, the images it loads, the
// icons its commands carry, and the files its Help item opens.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "testhost/bitmaps.h"

namespace validate {

struct FolderUse {
  bool dialogOpened = false;                                   // so that Help could be picked
  std::vector<std::string> helpFiles;                          // what picking Help opened
  std::vector<std::string> resourceFolders;                    // each once, in order
  std::vector<std::pair<std::string, std::int32_t>> strings;  // folder and id, each once
  std::vector<std::string> images;                             // each once, in order
  std::vector<testhost::Bitmap> icons;                         // the registered commands' icons
};

FolderUse RunFolderSession(const std::string& plugin);

// `file` as a person finds it: below the plug-in's folder when it lies there.
std::string InPluginFolder(const std::string& file, const std::string& plugin);

}  // namespace validate
