#pragma once
// Runs statlume-host as a user does, and what it answered.
#include <string>
#include <vector>

struct ProgramRun {
  int status = -1;  // the exit status, or -1 when it did not exit normally
  int signal = 0;   // the signal that ended it, if one did
  long peakKilobytes = 0;  // the largest resident size it reached
  std::string out, err;
};

// How a run differs from a plain one.
struct RunSettings {
  std::string input;
  std::string temporary;  // the program's temporary folder (TMPDIR), when not empty
  int interruption = 0;   // a signal sent to it once it has printed something
};

ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& input = "");
ProgramRun RunProgram(const std::vector<std::string>& arguments, const RunSettings& settings);

// RunProgram checks what every run with --json writes, whatever the test then
// looks at: each document conforms to the program's JSON Schema, a failed run ends
// with its error object (the status it exits with, the message its standard error
// gives) and a run that succeeds has none; a run over several files gives a
// document naming its file for each, and exits with the worst of their statuses.

// The complaints of the schema's validator about the JSON documents in `text`;
// empty when every one conforms.
std::string SchemaProblems(const std::string& text);
// The text of a JSON file the program wrote (the validator's report or case list),
// checked against the schema as RunProgram checks the standard output.
std::string SchemaCheckedFile(const std::string& file);

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
  // A folder in it, made empty.
  std::string Folder(const std::string& name) const;
  // The names in one of its folders.
  std::vector<std::string> Listing(const std::string& folder) const;

 private:
  std::string path_;
};
