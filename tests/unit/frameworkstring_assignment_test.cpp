// Assigning framework strings, to another string and to themselves.
#include "frameworkstring.h"
#include "runtime_fixture.h"

using StringAssignmentTest = BoundRuntimeTest;

TEST_F(StringAssignmentTest, SelfAssignmentKeepsTheTextAndItsOneReference) {
  const core::StringObject* object = nullptr;
  {
    core::String text("kept");
    object = text.Object();
    const core::String& same = text;
    text = same;
    EXPECT_EQ(text.Object(), object);
    EXPECT_EQ(kernel().StringText(text.Object()), "kept");
    EXPECT_EQ(kernel().CountWord(object), 16);
  }
  EXPECT_FALSE(kernel().IsLiveObject(object));  // the last release freed it
}

TEST_F(StringAssignmentTest, AssignmentSharesAndReleasesTheOldText) {
  const core::String source("new");
  core::String target("old");
  const core::StringObject* old = target.Object();
  target = source;
  EXPECT_EQ(target.Object(), source.Object());
  EXPECT_EQ(kernel().CountWord(source.Object()), 32);
  EXPECT_FALSE(kernel().IsLiveObject(old));
}
