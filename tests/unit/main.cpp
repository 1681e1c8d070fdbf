// The unit tests' entry: every test runs with the module globals put back after it.
#include <gtest/gtest.h>

#include "runtime_state.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new RuntimeStateGuard);
  return RUN_ALL_TESTS();
}
