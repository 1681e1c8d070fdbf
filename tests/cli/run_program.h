#pragma once
// Runs statlume-host as a user does, and what it answered.
#include <string>
#include <vector>

struct ProgramRun {
  int status = -1;  // the exit status, or -1 when it did not exit normally
  std::string out, err;
};

ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& input = "");

// Runs another program: `words` are its path and its arguments.
ProgramRun RunCommand(std::vector<std::string> words, const std::string& input = "");

// A scratch folder for the files a test writes, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};
