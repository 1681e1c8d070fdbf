// The command registration record as the host reads it, by byte offset: each
// operation the compiler's member pointer to its own virtual member of CommandData,
// everything else zero; and the arguments of the registration entry (t_HostOS_Ge
// offset 344).
#include <cstring>
#include <vector>

#include "host_baseobject.h"
#include "runtime_fixture.h"

namespace registration = testhost::registration;

namespace {

std::vector<int> g_reached;  // the operations the host reached, in order (0: the destructor)

// Answers every operation of CommandData and notes which one the host reached, so
// that operations 2, 3 and 5, which answer alike by default, are told apart.
class Probe : public CommandData {
 public:
  ~Probe() override { g_reached.push_back(0); }
  bool Run(BaseDocument*, void*) override { return Reached(1); }
  bool HostOperation2(BaseDocument*, void*) override { return Reached(2); }
  bool HostOperation3(BaseDocument*, void*) override { return Reached(3); }
  std::int32_t QueryState(BaseDocument*, void*) override { return Reached(4) ? 4 : 0; }
  bool HostOperation5(BaseDocument*, void*) override { return Reached(5); }
  bool RestoreFromLayout(void*) override { return Reached(6); }
  core::String QueryText() override { return Reached(7) ? core::String("seven") : core::String(); }
  bool HostOperation8(BaseDocument*, void*) override { return Reached(8); }

 private:
  static bool Reached(int operation) {
    g_reached.push_back(operation);
    return true;
  }
};

constexpr std::int32_t kProbeId = 7001;

}  // namespace

class CommandRecordTest : public BoundRuntimeTest {
 protected:
  void SetUp() override {
    BoundRuntimeTest::SetUp();  // strings need the bound framework
    name = core::String("Probe");
    help = core::String("probe help");
    g_reached.clear();
  }
  void TearDown() override {
    host().CommandModel().DestroyAll();
    name = core::String();
    help = core::String();
    BoundRuntimeTest::TearDown();
  }
  // Registers a probe as the plug-in does and answers the record the host received.
  std::vector<unsigned char> RegisterProbe() {
    EXPECT_TRUE(RegisterCommand(kProbeId, name, 0, nullptr, help, new Probe));
    testhost::RegisteredCommand* command = host().CommandModel().ById(kProbeId);
    return command != nullptr ? command->record : std::vector<unsigned char>(registration::kSize);
  }
  bool Offer(std::vector<unsigned char>& record, std::int32_t id = kProbeId + 1) {
    return RegisterPluginRecordEntry(kPluginApiVersion, 4, id, name.Slot(), record.data(),
                                     static_cast<std::int32_t>(record.size()));
  }
  static void Put(std::vector<unsigned char>& record, std::size_t offset, const void* bytes, std::size_t size) {
    std::memcpy(record.data() + offset, bytes, size);
  }

  core::String name;
  core::String help;
  const std::string entry = "t_HostOS_Ge offset 344 (RegisterPluginRecord): argument ";
};

TEST_F(CommandRecordTest, EachOperationReachesItsOwnMember) {
  RegisterProbe();
  testhost::Commands& commands = host().CommandModel();
  ASSERT_NE(commands.ById(kProbeId), nullptr);
  testhost::RegisteredCommand& command = *commands.ById(kProbeId);
  EXPECT_EQ(command.name, "Probe");
  EXPECT_EQ(command.help, "probe help");
  for (int operation = 1; operation <= 8; ++operation)
    EXPECT_EQ(command.operations[static_cast<std::size_t>(operation)],
              testhost::VirtualMember(registration::kFirstOperationSlot + static_cast<std::size_t>(operation) - 1))
        << operation;
  EXPECT_TRUE(commands.Run(command));
  for (int operation : {2, 3, 5, 8}) EXPECT_TRUE(commands.CallFurther(command, operation));
  EXPECT_EQ(commands.QueryState(command), 4);
  EXPECT_TRUE(commands.Restore(command, nullptr));
  EXPECT_EQ(commands.QueryText(command), "seven");
  commands.DestroyAll();
  EXPECT_EQ(g_reached, (std::vector<int>{1, 2, 3, 5, 8, 4, 6, 7, 0}));
}

TEST_F(CommandRecordTest, TheHostRefusesARecordItCannotRead) {
  const std::vector<unsigned char> good = RegisterProbe();
  ASSERT_TRUE(Faults().empty());
  ASSERT_NE(host().CommandModel().ById(kProbeId), nullptr);
  auto offer = [&](auto&& change) {
    std::vector<unsigned char> record = good;
    change(record);
    EXPECT_FALSE(Offer(record));
    return Faults();
  };
  const unsigned char one = 1;
  EXPECT_EQ(offer([&](auto& r) { Put(r, 500, &one, 1); }),
            std::vector<std::string>{entry + "'record' must be zero outside its fields, byte 500 is not"});
  EXPECT_EQ(offer([&](auto& r) { Put(r, registration::kEmpty + 8, &one, 1); }),
            std::vector<std::string>{entry + "'record field at 320' must be null"});
  // Operations 2 and 3 answer alike; only their member pointers tell them apart.
  EXPECT_EQ(offer([&](auto& r) {
              Put(r, registration::kOperation[2], good.data() + registration::kOperation[3], 16);
              Put(r, registration::kOperation[3], good.data() + registration::kOperation[2], 16);
            }),
            (std::vector<std::string>{
                entry + "'record operation 2' must be the member pointer to CommandData's operation 2 (virtual "
                        "slot 3), was {33, 0} (operation 3's)",
                entry + "'record operation 3' must be the member pointer to CommandData's operation 3 (virtual "
                        "slot 4), was {25, 0} (operation 2's)"}));
  const std::intptr_t adjustment = 8;
  EXPECT_EQ(offer([&](auto& r) { Put(r, registration::kOperation[5] + 8, &adjustment, 8); }),
            std::vector<std::string>{entry + "'record operation 5' must be the member pointer to CommandData's "
                                             "operation 5 (virtual slot 6), was {49, 8}"});
  const std::vector<std::string> destroy = offer([&](auto& r) { Put(r, registration::kDestroy + 8, &adjustment, 8); });
  ASSERT_EQ(destroy.size(), 1u);
  EXPECT_EQ(destroy[0].rfind(entry + "'record destroy routine' must be a plain function with no adjustment", 0), 0u)
      << destroy[0];
  const void* none = nullptr;
  EXPECT_EQ(offer([&](auto& r) {
              Put(r, registration::kData, &none, 8);
              Put(r, registration::kHelp, &none, 8);
            }),
            (std::vector<std::string>{entry + "'record data object' must not be null",
                                      entry + "'record help' must not be null"}));
  BaseBitmap* freed = BitmapAlloc();
  BitmapFree(freed);
  const std::vector<std::string> icon = offer([&](auto& r) { Put(r, registration::kIcon, &freed, 8); });
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(icon[0].rfind(entry + "'record icon' is bitmap #", 0), 0u) << icon[0];
  EXPECT_NE(icon[0].find(", freed already"), std::string::npos) << icon[0];
  EXPECT_EQ(host().CommandModel().ById(kProbeId + 1), nullptr);
}

TEST_F(CommandRecordTest, RegistrationArguments) {
  std::vector<unsigned char> record = RegisterProbe();
  ASSERT_NE(host().CommandModel().ById(kProbeId), nullptr);
  EXPECT_FALSE(RegisterPluginRecordEntry(2023999, 5, kProbeId, nullptr, record.data(), 384));
  EXPECT_EQ(Faults(), (std::vector<std::string>{entry + "'version' must be 2024000, was 2023999",
                                                entry + "'type' must be 4, was 5", entry + "'size' must be 768, was 384",
                                                entry + "'name' must not be null",
                                                entry + "'id' must not be registered already"}));
  EXPECT_FALSE(RegisterPluginRecordEntry(kPluginApiVersion, 4, kProbeId + 1, name.Slot(), nullptr, 768));
  EXPECT_EQ(Faults(), std::vector<std::string>{entry + "'record' must not be null"});
  EXPECT_TRUE(Offer(record, kProbeId + 2));  // the same record under a fresh id is taken
  host().CommandModel().ById(kProbeId + 2)->destroyed = true;  // one data object: destroyed once
}
