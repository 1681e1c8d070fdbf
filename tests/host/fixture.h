#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testhost/host.h"

// Every test gets its own host with a freshly loaded plug-in library. Faults the
// host detected (trapped entries, misused host objects) fail the test.
class PluginTest : public ::testing::Test {
 protected:
  PluginTest() : host_(std::make_unique<testhost::Host>()) {}
  void TearDown() override;

  testhost::Host& host() { return *host_; }
  testhost::Kernel& kernel() { return host_->Framework(); }
  // What the plug-in wrote to the host's console.
  std::string Console() { return kernel().ConsoleText(); }

 private:
  std::unique_ptr<testhost::Host> host_;
};

// The assertion line a missing sub-table produces, without a debugger attached.
std::string MissingTableLine();
