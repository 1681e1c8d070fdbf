#pragma once
// statlume-host [options] FILE|FOLDER...: one row per file, each file counted in
// a process of its own (the program started again on that one file), so that a
// file that crashes the plug-in or the importer fails in its row alone.
#include <cstdint>
#include <string>
#include <vector>

#include "options.h"

namespace batch {

// Whether the command line asks for a run over several files: more than one
// FILE, a FOLDER, or --csv or --tsv.
bool ManyFiles(const cli::Options& options);

// Throws UsageError for what a run over several files cannot do: options that
// concern one file's session (--object, --script, --png, --interactive, --tree),
// two outputs at once, the standard input, or no file at all.
void CheckManyFilesOptions(const cli::Options& options);

// The command line that counts `file` alone: this program with the per-file
// options, JSON output and the memory budget `budget` (bytes, or kUnlimited).
std::vector<std::string> FileCommand(const std::string& program, const cli::Options& options, const std::string& file,
                                     std::uint64_t budget);

// Counts every file, prints the rows and answers the exit status: the worst of
// the files' (WorseStatus). `program` is this program's own file.
int RunBatch(const cli::Options& options, const std::string& program);

}  // namespace batch
