// Framework strings and the output of strings through the diagnostics.
#include "frameworkstring.h"
#include "debugoutput.h"
#include "refcount.h"
#include "runtime_fixture.h"

using StringTest = BoundRuntimeTest;

TEST_F(StringTest, TextBecomesAHostStringWithOneReference) {
  const core::String text("Quorvant");
  ASSERT_FALSE(text.IsNull());
  EXPECT_EQ(kernel().StringText(text.Object()), "Quorvant");
  EXPECT_EQ(kernel().CountWord(text.Object()), 16);
}

TEST_F(StringTest, CopiesShareAndTheLastReleaseFrees) {
  const core::StringObject* object = nullptr;
  {
    const core::String first("shared");
    object = first.Object();
    {
      const core::String second(first);
      EXPECT_EQ(second.Object(), object);
      EXPECT_EQ(kernel().CountWord(object), 32);
    }
    EXPECT_EQ(kernel().CountWord(object), 16);
  }
  EXPECT_FALSE(kernel().IsLiveObject(object));
}

TEST_F(StringTest, MakingWritableTakesAPrivateCopy) {
  core::String first("one");
  const core::String second(first);
  EXPECT_EQ(first.SetCString("two", CORE_HERE), nullptr);
  EXPECT_NE(first.Object(), second.Object());
  EXPECT_EQ(kernel().StringText(first.Object()), "two");
  EXPECT_EQ(kernel().StringText(second.Object()), "one");
  EXPECT_EQ(kernel().CountWord(second.Object()), 16);
}

TEST_F(StringTest, CTextOfAString) {
  const core::String text("plain text");
  const core::CText c(text);
  EXPECT_EQ(c.Error(), nullptr);
  EXPECT_STREQ(c.Text(), "plain text");
}

TEST_F(StringTest, OutputOfStrings) {
  core::OutputString(core::kOutputInfo, core::String("from a string"), 5, "a.cpp");
  core::OutputString(core::kOutputInfo, core::String(), 7, "dir/b.cpp");
  EXPECT_EQ(Console(), "from a string\nCRITICAL: Console output failed [b.cpp(7)]\n");
}

class StringAllocationFailsTest : public BoundRuntimeTest {};

TEST_F(StringAllocationFailsTest, FailureIsTheNullPointerError) {
  kernel().FailAllocation(kernel().AllocationCount() + 1);  // the next one
  core::String text;
  const core::ErrorRef error = text.SetCString("x", CORE_HERE);
  const core::ErrorRef expected = core::PrivateGetNullReturnError(core::kNullReturnNullPointerAlt);
  EXPECT_EQ(error, expected);
  core::ReleaseError(expected);
  core::ReleaseError(error);
  EXPECT_TRUE(text.IsNull());
  // The next allocation succeeds again.
  EXPECT_EQ(text.SetCString("y", CORE_HERE), nullptr);
  EXPECT_EQ(kernel().StringText(text.Object()), "y");
}

class StringInterfaceMissingTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.Unpublish("net.hostapp.string"); }
};

TEST_F(StringInterfaceMissingTest, StringsStayEmptyAndNothingIsWritten) {
  const core::String text("lost");
  EXPECT_TRUE(text.IsNull());
  core::OutputString(core::kOutputInfo, core::String(), 1, "a.cpp");
  // The null string is reported; nothing else reaches the console.
  EXPECT_EQ(Console(), "CRITICAL: Console output failed [a.cpp(1)]\n");
}
