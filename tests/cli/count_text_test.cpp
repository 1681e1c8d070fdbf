// The numbers the JSON output gives beside the dialog's texts, read from the texts.
#include <gtest/gtest.h>

#include "count_text.h"

using cli::CountOfText;

TEST(CountText, NumbersAsTheDialogMayShowThem) {
  EXPECT_EQ(CountOfText("0"), 0);
  EXPECT_EQ(CountOfText("1500"), 1500);
  EXPECT_EQ(CountOfText("-7"), -7);
  EXPECT_EQ(CountOfText("1,234"), 1234);
  EXPECT_EQ(CountOfText("12,345,678"), 12345678);
  EXPECT_EQ(CountOfText("1 234 567"), 1234567);
  EXPECT_EQ(CountOfText("-1'000"), -1000);
  EXPECT_EQ(CountOfText("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(CountOfText("-9223372036854775808"), INT64_MIN);
}

TEST(CountText, TextsThatAreNoNumber) {
  for (const char* text : {"", "-", "--1", "+5", " 5", "5 ", "12x", "1.5", "(12)", "1,23", "1,2345", ",123", "123,",
                           "1,234 567", "1,,234", "9223372036854775808", "-9223372036854775809",
                           "99999999999999999999"})
    EXPECT_EQ(CountOfText(text), std::nullopt) << "'" << text << "'";
}
