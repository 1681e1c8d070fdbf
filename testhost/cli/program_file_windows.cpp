#include <windows.h>

#include <filesystem>
#include <vector>

#include "program_location.h"
#include "usage_error.h"

namespace cli {

std::string ProgramFile() {
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) throw UsageError{"cannot find this program's own file: give --plugins FOLDER and a SCENE"};
    if (length < name.size()) return std::filesystem::path(name.data()).generic_string();
    name.resize(name.size() * 2);  // cut short: a longer path
  }
}

}  // namespace cli
