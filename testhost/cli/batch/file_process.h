#pragma once
// What the process that counted one file left behind, and the row it makes.
#include <string>

#include "file_row.h"

namespace batch {

struct FileProcessEnd {
  std::string startProblem;  // why the process could not be started; empty when it ran
  int exitStatus = -1;       // -1 when a signal ended it
  int signal = 0;
  std::string out, err;
};

// The file's row: its counts from the process's JSON state document, or the
// reason from its standard error (or its JSON error object), the outcome and
// status following how the process ended. The row's JSON is the state document
// with "file" added, or an error object with "error", "status" and "file" (and a
// crash report's "signal", "during" and "plugin"). `plugin` is the plug-in
// library the process was given, named when a signal ended it.
FileRow RowOf(const std::string& file, const FileProcessEnd& end, const std::string& plugin);

// The row of a file that was not run: bad input, `problem` the reason.
FileRow RefusedRow(const std::string& file, const std::string& problem);

}  // namespace batch
