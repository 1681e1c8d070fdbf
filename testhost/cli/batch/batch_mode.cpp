#include <algorithm>

#include "batch.h"
#include "file_list.h"
#include "memory_budget.h"
#include "usage_error.h"

namespace batch {

bool ManyFiles(const cli::Options& options) {
  return options.tableFormatGiven || options.scenes.size() > 1 ||
         (options.scenes.size() == 1 && IsFolder(options.scenes.front()));
}

void CheckManyFilesOptions(const cli::Options& options) {
  struct OneFileOption {
    const char* name;
    bool given;
  };
  const OneFileOption oneFile[] = {{"--object", !options.object.empty()},
                                   {"--script", !options.script.empty()},
                                   {"--png", !options.png.empty()},
                                   {"--interactive", options.interactive},
                                   {"--tree", options.tree}};
  for (const OneFileOption& option : oneFile)
    if (option.given)
      throw cli::UsageError{std::string(option.name) + " concerns the session of one file: it cannot be combined with " +
                            (options.tableFormatGiven && options.scenes.size() <= 1 ? "--csv or --tsv"
                                                                                    : "several files or a folder")};
  if (options.json && options.tableFormatGiven)
    throw cli::UsageError{"--json, --csv and --tsv are different outputs: give one of them"};
  if (options.scenes.empty()) throw cli::UsageError{"--csv and --tsv print a row per file: give FILE or FOLDER"};
  // Each file's process has a standard input of its own, which is empty.
  if (std::find(options.scenes.begin(), options.scenes.end(), cli::kStandardInput) != options.scenes.end())
    throw cli::UsageError{"the standard input (-) holds one file: it cannot be combined with " +
                          std::string(options.scenes.size() > 1 ? "other files or a folder" : "--csv or --tsv")};
}

std::vector<std::string> FileCommand(const std::string& program, const cli::Options& options, const std::string& file,
                                     std::uint64_t budget) {
  std::vector<std::string> words = {program};
  words.insert(words.end(), options.perFileOptions.begin(), options.perFileOptions.end());
  words.push_back("--json");  // given twice, it is still one option
  words.push_back("--max-memory");
  words.push_back(budget == cli::kUnlimited ? "unlimited" : std::to_string(budget));
  words.push_back("--");
  words.push_back(file);
  return words;
}

}  // namespace batch
