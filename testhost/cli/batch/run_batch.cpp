// A run over several files: the files listed, each counted by this program
// started again on it alone, the rows printed in the order of the files.
#include <algorithm>
#include <iostream>
#include <optional>

#include "batch.h"
#include "file_list.h"
#include "memory_budget.h"
#include "process_pool.h"
#include "program_location.h"
#include "progress_line.h"
#include "row_printer.h"
#include "session.h"

namespace batch {

namespace {

// Each file's process gets an even share of the budget, so that the files
// counted at once together keep to it.
std::uint64_t FileBudget(const cli::Options& options, std::size_t atOnce) {
  const std::uint64_t whole = options.maxMemory != 0 ? options.maxMemory : cli::DefaultMemoryBudget();
  if (whole == cli::kUnlimited) return cli::kUnlimited;
  return std::max<std::uint64_t>(cli::kLeastBudget, whole / std::max<std::size_t>(atOnce, 1));
}

}  // namespace

int RunBatch(const cli::Options& options, const std::string& program) {
  CheckManyFilesOptions(options);
  std::vector<std::string> folders = options.pluginFolders;
  if (folders.empty()) folders.push_back(cli::DefaultPluginFolder());
  // A missing or doubtful plug-in ends the run before any file.
  const std::string plugin = cli::OnePluginLibrary(folders);

  const std::vector<ListedFile> listed = ListFiles(options.scenes);
  std::vector<std::string> files;
  for (const ListedFile& file : listed) files.push_back(file.path);
  const std::size_t atOnce = std::min<std::size_t>(listed.size(), options.jobs > 0 ? options.jobs : CoreCount());
  const std::uint64_t budget = FileBudget(options, atOnce);

  std::vector<std::optional<FileRow>> rows(listed.size());
  std::vector<std::vector<std::string>> commands;
  std::vector<std::size_t> rowOfCommand;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (!listed[i].problem.empty()) {
      rows[i] = RefusedRow(listed[i].path, listed[i].problem);
      continue;
    }
    commands.push_back(FileCommand(program, options, listed[i].path, budget));
    rowOfCommand.push_back(i);
  }

  RowPrinter printer(std::cout, options.tableFormat, options.json, files);
  ProgressLine progress(listed.size());
  printer.Header();
  std::size_t printed = 0, done = listed.size() - commands.size();
  auto printReady = [&] {
    for (; printed < rows.size() && rows[printed]; ++printed) {
      progress.Clear();
      printer.Row(*rows[printed]);
    }
  };
  printReady();
  RunProcesses(
      commands, static_cast<int>(atOnce),
      [&](std::size_t command, FileProcessEnd&& end) {
        const std::size_t row = rowOfCommand[command];
        rows[row] = RowOf(listed[row].path, end, plugin);
        ++done;
        printReady();
      },
      [&](std::size_t running) { progress.Show(done, running); });
  progress.Clear();

  std::vector<FileRow> all;
  int status = 0;
  for (const std::optional<FileRow>& row : rows) {
    all.push_back(*row);
    status = WorseStatus(status, row->status);
  }
  printer.Summary(all);
  return status;
}

}  // namespace batch
