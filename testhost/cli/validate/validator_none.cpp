// Builds that cannot start processes of their own kind (the Windows test host) have
// no validator.
#include "usage_error.h"
#include "validator.h"

namespace validate {

int RunValidator(const std::vector<std::string>&, const std::string&) {
  throw cli::UsageError{"validate is not available in this build"};
}

std::vector<std::string> ValidatorOptions() { return {}; }

std::string UsageText() { return "statlume-host validate: not available in this build\n"; }

}  // namespace validate
