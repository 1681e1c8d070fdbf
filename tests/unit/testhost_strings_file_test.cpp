// The test host's reading of a resource strings file (testhost/strings_file.h):
// what a host takes from each line, and why it skips a line, which the validator
// reports.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "testhost/strings_file.h"

using testhost::ParseStrings;
using testhost::StringsFile;

TEST(StringsFile, ReadsIdsTextsCommentsAndLineBreaks) {
  const StringsFile file = ParseStrings("# comment=not a string\n\n10000=Statlume\n10001=Two\\nlines\n"
                                        "7=a=b\n2147483647=\xC3\xBC \xE2\x82\xAC \xF0\x9F\x99\x82\n10002=");
  EXPECT_TRUE(file.problems.empty()) << file.problems.front();
  EXPECT_EQ(file.strings, (std::map<std::int32_t, std::string>{{7, "a=b"},
                                                              {10000, "Statlume"},
                                                              {10001, "Two\nlines"},
                                                              {10002, ""},
                                                              {2147483647, "\xC3\xBC \xE2\x82\xAC \xF0\x9F\x99\x82"}}));
}

// Each line a host cannot read is skipped and named; the lines around it still count.
TEST(StringsFile, NamesEachLineItSkips) {
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"no equals sign", "no '=' between an id and its text"},
      {"=text", "'' is not a string id"},
      {"ten=10", "'ten' is not a string id"},
      {" 10=indented", "' 10' is not a string id"},
      {"-5=negative", "'-5' is not a string id"},
      {"2147483648=too large", "'2147483648' is not a string id"},
      {"123456789012345678901234567890=long", "'123456789012345678901234...' is not a string id"},
      {"10000=again", "id 10000 again (first on line 1)"},
      {std::string("10003=nul\0inside", 16), "not UTF-8 text"},
      {"10003=\xC0\x80", "not UTF-8 text"},          // an overlong form
      {"10003=\xED\xA0\x80", "not UTF-8 text"},      // a surrogate
      {"10003=\xF4\x90\x80\x80", "not UTF-8 text"},  // past U+10FFFF
      {"10003=\x80", "not UTF-8 text"},              // a continuation byte alone
      {"10003=\xE2\x82", "not UTF-8 text"},          // a sequence cut short
  };
  for (const auto& [line, why] : lines) {
    const StringsFile file = ParseStrings("10000=first\n" + line + "\n10001=after");
    ASSERT_EQ(file.problems.size(), 1u) << line;
    EXPECT_EQ(file.problems[0], "line 2: " + why);
    EXPECT_EQ(file.strings, (std::map<std::int32_t, std::string>{{10000, "first"}, {10001, "after"}})) << line;
  }
}

TEST(StringsFile, BinaryBytesReadNothing) {
  const StringsFile file = ParseStrings(std::string("II*\0\x08\0\0\0\xFF\xFE=\n\x01\x02=x", 16));
  EXPECT_TRUE(file.strings.empty());
  EXPECT_EQ(file.problems, (std::vector<std::string>{"line 1: not UTF-8 text", "line 2: '\x01\x02' is not a string id"}));
}
