#pragma once
// Runs the framework runtime linked into the test itself against the test host's
// kernel: the kernel binds this process's own g_framework and starts its units.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "object.h"
#include "operatingsystem.h"
#include "testhost/host.h"

class BoundRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = testhost::Host::TablesOnly();
    Configure(kernel());
    kernel().Bind(&g_framework);
    kernel().RunStartFunctions();
    BindHostTables(reinterpret_cast<const HostOS*>(&host_->Record()));
  }
  // The units end, nothing the runtime was given may be left, and the kernel takes
  // back what it wrote into this process's records.
  void TearDown() override {
    kernel().RunEndFunctions();
    host().CheckReleased();
    kernel().Unbind();
    for (const std::string& failure : host_->Failures()) ADD_FAILURE() << failure;
  }
  // Changes the kernel before it binds.
  virtual void Configure(testhost::Kernel&) {}

  testhost::Kernel& kernel() { return host_->Framework(); }
  testhost::Host& host() { return *host_; }
  testhost::Windows& windows() { return host_->WindowModel(); }
  testhost::Scene& scene() { return host_->SceneModel(); }
  std::string Console() { return kernel().ConsoleText(); }
  // The faults the host reported since the last look; they are then cleared, as a
  // test that looks at them expected them.
  std::vector<std::string> Faults() {
    std::vector<std::string> faults = host().Failures();
    host().ClearFailures();
    return faults;
  }

  std::unique_ptr<testhost::Host> host_;
};
