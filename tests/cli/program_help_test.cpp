// --help names every option the program takes, in both of its modes: the parsers
// refuse any option that is not on their lists, and the lists are what is looked
// for here, so that an option added without its help fails.
#include <gtest/gtest.h>

#include "options.h"
#include "run_program.h"
#include "usage_error.h"
#include "validator.h"

namespace {

bool OptionCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-'; }

// Whether `text` holds `option` as a word of its own ("--json" in "--json FILE",
// not in "--jsonl"; "--" alone, not as the start of "--help").
bool Names(const std::string& text, const std::string& option) {
  for (std::size_t at = text.find(option); at != std::string::npos; at = text.find(option, at + 1)) {
    const std::size_t end = at + option.size();
    if ((at == 0 || !OptionCharacter(text[at - 1])) && (end == text.size() || !OptionCharacter(text[end])))
      return true;
  }
  return false;
}

}  // namespace

TEST(ProgramHelp, NamesEveryOptionOfBothModes) {
  const ProgramRun help = RunProgram({"--help"});
  ASSERT_EQ(help.status, 0) << help.err;
  for (const std::string& option : cli::KnownOptions()) EXPECT_TRUE(Names(help.out, option)) << option;

  const ProgramRun validateHelp = RunProgram({"validate", "--help"});
  ASSERT_EQ(validateHelp.status, 0) << validateHelp.err;
  ASSERT_FALSE(validate::ValidatorOptions().empty());
  for (const std::string& option : validate::ValidatorOptions()) {
    EXPECT_TRUE(Names(help.out, option)) << option << " of validate, in --help";
    EXPECT_TRUE(Names(validateHelp.out, option)) << option << " in validate --help";
  }
  EXPECT_FALSE(Names(help.out, "--run-case")) << "how the validator starts its cases is not for users";
}

TEST(ProgramHelp, TheParsersTakeTheListedOptionsAndNoOther) {
  for (const std::string& option : cli::KnownOptions()) {
    try {
      cli::ParseOptions({option, "1"});
    } catch (const cli::UsageError& error) {
      EXPECT_EQ(error.message.find("unknown option"), std::string::npos) << option << ": " << error.message;
    }
  }
  try {
    cli::ParseOptions({"--no-such-option"});
    ADD_FAILURE() << "an option not on the list was taken";
  } catch (const cli::UsageError& error) {
    EXPECT_EQ(error.message, "unknown option --no-such-option (see --help)");
  }

  for (const std::string& option : validate::ValidatorOptions()) {
    const ProgramRun run = RunProgram({"validate", option, "1", "--help"});
    EXPECT_EQ(run.status, 0) << option << ": " << run.err;
  }
  const ProgramRun unknown = RunProgram({"validate", "--groups", "load"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "statlume-host: unknown option --groups\n");
}
