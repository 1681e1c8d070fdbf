// CPU feature flags from the host's machine information.
#include "cpuid.h"
#include "runtime_fixture.h"

namespace {
std::vector<int> Flags() { return std::vector<int>(core::MachineInfoFlags, core::MachineInfoFlags + 10); }
}  // namespace

class CpuFeaturesTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override {
    EXPECT_EQ(Flags(), std::vector<int>(10, 0));  // nothing before module start
    k.SetMachineInfo(std::map<std::string, bool>{{"net.hostapp.machineinfo.supportsse2", true},
                                                  {"net.hostapp.machineinfo.supportavx2", true},
                                                  {"net.hostapp.machineinfo.supportavx", false}});
  }
};

TEST_F(CpuFeaturesTest, FlagsFollowTheDictionary) {
  EXPECT_EQ(Flags(), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(Console(), "");
}

class CpuFeaturesDefaultTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override {
    k.SetMachineInfo(std::nullopt);  // the query fails
    k.SetDefaultDictionary(std::map<std::string, bool>{{"net.hostapp.machineinfo.supportfma", true}});
  }
};

TEST_F(CpuFeaturesDefaultTest, FailedQueryUsesTheDefaultDictionary) {
  EXPECT_EQ(Flags(), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
}

class CpuFeaturesNothingTest : public BoundRuntimeTest {
  void Configure(testhost::Kernel& k) override { k.SetMachineInfo(std::nullopt); }
};

TEST_F(CpuFeaturesNothingTest, NoInformationLeavesEveryFlagAtZero) {
  EXPECT_EQ(Flags(), std::vector<int>(10, 0));
}
