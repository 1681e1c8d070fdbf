#pragma once
// statlume-host validate [--level 1..10] [--seed N] [--case NAME] [--group GROUP]
//                        [--skip NAME]... [--json FILE] [PLUGIN_FOLDER]
// Runs the validator's cases on the plug-in found in the folder, each in a process
// of its own (--case: that one case; --group: the cases up to the level whose
// names begin with "GROUP."), and reports each case's status (passed, failed,
// crashed, skipped), a summary line "N passed, M failed" and, for every failure,
// the command that reproduces it.
#include <string>
#include <vector>

namespace validate {

// The arguments after "validate"; answers the exit status (0: every case passed).
int RunValidator(const std::vector<std::string>& arguments, const std::string& program);

// The options the validator takes from users, and its usage text, which names them.
std::vector<std::string> ValidatorOptions();
std::string UsageText();

}  // namespace validate
