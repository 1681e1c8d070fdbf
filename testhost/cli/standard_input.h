#pragma once
// A scene given as "-": the standard input, kept in a file of its own while the
// scene is read. The readers take files, and a file without an extension is read
// by its content; the file is named "stdin", which a 3D file's top-level object
// takes as its name. The copy goes when the object does, and on a crash or Ctrl-C.
#include <string>

namespace cli {

class StandardInputFile {
 public:
  // Copies the standard input; throws UsageError when it cannot.
  StandardInputFile();
  ~StandardInputFile();
  StandardInputFile(const StandardInputFile&) = delete;
  StandardInputFile& operator=(const StandardInputFile&) = delete;

  const std::string& Path() const { return file_; }

 private:
  void Copy();
  void Remove();

  std::string folder_, file_;
};

}  // namespace cli
