#pragma once
// What the fuzz targets share: reading an input as a stream of choices, failing an
// input so that libFuzzer keeps it as a crash, and scratch files of the process's own.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fuzz {

// Prints what went wrong and aborts: libFuzzer records the input as a crash.
[[noreturn]] inline void Fail(const std::string& what, const std::vector<std::string>& details = {}) {
  std::fprintf(stderr, "fuzz: %s\n", what.c_str());
  for (const std::string& detail : details) std::fprintf(stderr, "  %s\n", detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// Aborts when the host recorded a fault.
template <typename HostT>
void RequireNoFailure(const HostT& host, const std::string& when) {
  if (!host.Failures().empty()) Fail("the host found faults " + when + ":", host.Failures());
}

// A file of this process in the temporary folder, written with `content`; the
// folder goes when the process ends normally.
inline std::string WriteScratch(const std::string& name, const std::string& content) {
  struct Folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("statlume-fuzz-" + std::to_string(getpid()));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  const std::string file = (folder.path / name).string();
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(content.data(), static_cast<std::streamsize>(content.size()));
  return file;
}

// Picks one of `values` most of the time, else any 32-bit value.
template <std::size_t N>
std::int32_t MostlyOneOf(FuzzedDataProvider& in, const std::int32_t (&values)[N]) {
  if (in.ConsumeIntegralInRange<int>(0, 7) != 0) return values[in.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
  return in.ConsumeIntegral<std::int32_t>();
}

}  // namespace fuzz
