// The entries of the general table (t_HostOS_Ge, served by the test host's
// ge_general.cpp) that the plug-in calls: message boxes, files and the application
// folder (host_scene.h), the host state (host_jobs.h), interactions and range
// messages (host_gui.h). What the host answers, what it keeps, and what it refuses
// (each refusal names the entry and the argument).
#include <thread>

#include "host_gui.h"
#include "host_jobs.h"
#include "host_scene.h"
#include "runtime_fixture.h"

class GeneralTableTest : public BoundRuntimeTest {
 protected:
  testhost::Application& application() { return host().ApplicationModel(); }
  static std::string Ge(int offset, const char* name) {
    return "t_HostOS_Ge offset " + std::to_string(offset) + " (" + name + "): argument ";
  }
};

TEST_F(GeneralTableTest, MessageBoxesShowALiveStringWithTheToolsStyle) {
  const core::String about("About Statlume");
  EXPECT_EQ(ShowMessageBox(about.Slot(), GEMB_ICONEXCLAMATION), 1);
  const core::String empty;
  ShowMessageBox(empty.Slot(), GEMB_ICONEXCLAMATION);  // the empty string is a null slot
  ShowMessageBox(nullptr, 16);
  EXPECT_EQ(application().messageBoxes,
            (std::vector<std::pair<std::string, std::int32_t>>{{"About Statlume", 48}, {"", 48}, {"", 16}}));
  EXPECT_EQ(Faults(), (std::vector<std::string>{Ge(120, "ShowMessageBox") + "'text' must not be null",
                                                Ge(120, "ShowMessageBox") + "'style' must be 48, was 16"}));
}

TEST_F(GeneralTableTest, FilesAndTheApplicationFolderAreLivePaths) {
  const HostPath manual("/plugins/statlume/Statlume.pdf");
  EXPECT_TRUE(OpenFileWithSystem(manual.slot()));
  application().opensFiles = false;
  EXPECT_FALSE(OpenFileWithSystem(manual.slot()));
  EXPECT_EQ(application().openedFiles, (std::vector<std::string>(2, "/plugins/statlume/Statlume.pdf")));
  PathSlot none = nullptr;
  EXPECT_FALSE(OpenFileWithSystem(&none));

  // The folder is constructed into the caller's slot and is the caller's.
  {
    const HostPath folder{HostPath::ApplicationFolderTag{}};
    EXPECT_EQ(host().PathText(folder.slot()), "/opt/hostapp");
    EXPECT_TRUE(host().Objects().IsPluginOwned(*folder.slot()));
    PathSlot taken = *folder.slot();
    ApplicationFolder(&taken);
  }
  EXPECT_EQ(host().Objects().LivePluginObjects("path value"), 1u);  // the manual's path alone
  const std::vector<std::string> faults = Faults();
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0], Ge(56, "OpenFileWithSystem") + "'path' must hold a path value, holds null");
  EXPECT_EQ(faults[1].rfind(Ge(64, "ApplicationFolder") + "'slot' must be an empty slot (set to null), holds path", 0),
            0u)
      << faults[1];
}

TEST_F(GeneralTableTest, DialogCallsCarryTheirFixedArguments) {
  SetHostState(3);
  SetHostState(2);
  SetHostState(1);
  std::thread([] { SetHostState(3); }).join();
  HostInteraction(1, 1, 1);
  HostInteraction(1, 0, 1);
  HostRangeMessage(6, 0.0, 10.0, 5);
  HostRangeMessage(9, 0.0, 10.0, 4);
  EXPECT_EQ(application().hostStates, (std::vector<std::int32_t>{3, 2, 1, 3}));
  EXPECT_EQ(application().interactions, 2);
  ASSERT_EQ(application().rangeMessages.size(), 2u);
  EXPECT_EQ(application().rangeMessages[0].y, 10.0);
  EXPECT_EQ(Faults(), (std::vector<std::string>{
                          Ge(80, "HostState") + "'state' must be 3 (begin) or 2 (end), was 1",
                          "t_HostOS_Ge offset 80 (HostState): called on a thread other than the host's main thread",
                          Ge(184, "HostInteraction") + "'second' must be 1, was 0",
                          Ge(272, "RangeMessage") + "'type' must be a CHECKVALUERANGE value (0 to 8), was 9",
                          Ge(272, "RangeMessage") + "'format' must be a CHECKVALUEFORMAT value (0, 1, 2, 3 or 5), was 4"}));
}
