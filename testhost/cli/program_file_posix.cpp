#include <filesystem>

#include "program_location.h"
#include "usage_error.h"

namespace cli {

std::string ProgramFile() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error)
    throw UsageError{"cannot find this program's own file in /proc/self/exe (" + error.message() +
                     "): give --plugins FOLDER and a SCENE"};
  return self.generic_string();
}

}  // namespace cli
