// Builds that cannot start processes of their own kind (the Windows test host)
// count one file per run.
#include "batch.h"
#include "usage_error.h"

namespace batch {

int RunBatch(const cli::Options& options, const std::string&) {
  CheckManyFilesOptions(options);
  throw cli::UsageError{"several files or a folder in one run are not available in this build: give one file"};
}

}  // namespace batch
