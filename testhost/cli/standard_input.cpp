#include "standard_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "options.h"
#include "testhost/system.h"
#include "usage_error.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace cli {

namespace {

// Windows reads the standard input as text unless told otherwise: a binary 3D
// file would lose its carriage returns and end at its first Ctrl-Z.
void ReadStandardInputAsBytes() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
#endif
}

}  // namespace

StandardInputFile::StandardInputFile() {
  folder_ = testhost::system::MakeTemporaryFolder("statlume-host-");
  testhost::system::TrackTemporary(folder_);
  file_ = (std::filesystem::path(folder_) / "stdin").string();
  testhost::system::TrackTemporary(file_);
  try {
    Copy();
  } catch (...) {
    Remove();
    throw;
  }
}

StandardInputFile::~StandardInputFile() { Remove(); }

void StandardInputFile::Copy() {
  ReadStandardInputAsBytes();
  std::ofstream out(file_, std::ios::binary);
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), stdin);
    if (got > 0) out.write(buffer.data(), static_cast<std::streamsize>(got));
    if (!out) throw UsageError{kStandardInput + ": cannot be kept in the temporary folder " + folder_, kStandardInput};
    if (got < buffer.size()) break;
  }
  if (std::ferror(stdin))
    throw UsageError{kStandardInput + ": cannot be read: " + std::strerror(errno), kStandardInput};
}

void StandardInputFile::Remove() {
  std::error_code ignored;
  std::filesystem::remove(file_, ignored);
  std::filesystem::remove(folder_, ignored);
  testhost::system::UntrackTemporary(file_);
  testhost::system::UntrackTemporary(folder_);
}

}  // namespace cli
