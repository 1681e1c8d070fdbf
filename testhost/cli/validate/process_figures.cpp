#include "process_figures.h"

#include <cstdio>
#include <filesystem>

namespace validate {

long ResidentKilobytes() {
  std::FILE* status = std::fopen("/proc/self/statm", "r");
  if (status == nullptr) return 0;
  long pages = 0, resident = 0;
  const int read = std::fscanf(status, "%ld %ld", &pages, &resident);
  std::fclose(status);
  return read == 2 ? resident * 4 : 0;
}

std::size_t OpenHandles() {
  std::error_code error;
  std::size_t count = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error))
    ++count;
  return error ? 0 : count;
}

}  // namespace validate
