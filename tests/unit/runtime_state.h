#pragma once
// The module globals the plug-in's code keeps (host tables, entry state, resource
// record, diagnostics state, configuration, CPU flags, data type holders, the module
// record, the count words of the module-local errors), saved before every unit test
// and put back after it, so that the tests pass in any order and in one process.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

class RuntimeStateGuard : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override;
  void OnTestEnd(const ::testing::TestInfo&) override;

 private:
  struct Saved {
    void* address;
    std::vector<unsigned char> bytes;
  };
  std::vector<Saved> saved_;
};
