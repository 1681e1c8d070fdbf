#include <stdio.h>
#include <unistd.h>

#include <cstdlib>

#include "testhost/plugin_calls.h"

namespace testhost {

int StdoutCapture::depth_ = 0;
int StdoutCapture::saved_ = -1;
int StdoutCapture::file_ = -1;

std::string& StdoutCapture::Text() {
  static std::string text;
  return text;
}

StdoutCapture::StdoutCapture() {
  if (depth_++ != 0) return;
  fflush(stdout);
  if (file_ < 0) {
    FILE* scratch = tmpfile();
    if (scratch == nullptr) std::abort();
    file_ = dup(fileno(scratch));
    fclose(scratch);
  }
  ftruncate(file_, 0);
  lseek(file_, 0, SEEK_SET);
  saved_ = dup(STDOUT_FILENO);
  dup2(file_, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture() {
  if (--depth_ != 0) return;
  fflush(stdout);
  dup2(saved_, STDOUT_FILENO);
  close(saved_);
  saved_ = -1;
  const off_t size = lseek(file_, 0, SEEK_END);
  if (size > 0) {
    std::string chunk(static_cast<std::size_t>(size), '\0');
    lseek(file_, 0, SEEK_SET);
    if (read(file_, chunk.data(), static_cast<unsigned>(chunk.size())) == size) Text() += chunk;
  }
}

}  // namespace testhost
