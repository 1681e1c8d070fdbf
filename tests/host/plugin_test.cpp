// The whole plug-in as the host runs it: resources, registration, the command, the
// dialog, help and about, and unloading.
#include <filesystem>
#include <fstream>

#include "fixture.h"
#include "testhost/system.h"

namespace code = testhost::code;
namespace entry = testhost::entry;
namespace fs = std::filesystem;
using testhost::Commands;
using testhost::RegisteredCommand;
using testhost::Window;

namespace {

constexpr int kCommandId = 1040438;

// A copy of the library in a folder of its own, with only the resource files given.
std::string IsolatedPlugin(const std::map<std::string, std::string>& resources, bool withIcon) {
  const fs::path folder = testhost::system::MakeTemporaryFolder("statlume-plugin-");
  const fs::path library = testhost::Host::DefaultPluginFile();
  fs::copy_file(library, folder / library.filename());
  if (!resources.empty() || withIcon) fs::create_directory(folder / "res");
  for (const auto& [name, content] : resources) std::ofstream(folder / "res" / name) << content;
  if (withIcon) fs::copy_file(library.parent_path() / "res" / "statlume.tif", folder / "res" / "statlume.tif");
  return (folder / library.filename()).string();
}

std::string ResourceText(int id) {
  std::ifstream in(fs::path(testhost::Host::DefaultPluginFile()).parent_path() / "res" / "strings.res");
  std::string line;
  const std::string prefix = std::to_string(id) + "=";
  while (std::getline(in, line)) {
    if (line.rfind(prefix, 0) == 0) {
      std::string text = line.substr(prefix.size());
      for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text = text.substr(0, at) + "\n" + text.substr(at + 2);
      return text;
    }
  }
  return "";
}

}  // namespace

class PluginTest_ : public PluginTest {
 protected:
  Commands& commands() { return host().CommandModel(); }
  RegisteredCommand& Command() {
    RegisteredCommand* command = commands().ById(kCommandId);
    EXPECT_NE(command, nullptr);
    return *command;
  }
  Window* DialogWindow() { return host().WindowModel().ByPluginId(kCommandId); }
  int Load() {
    EXPECT_EQ(host().Init(), 1);
    EXPECT_EQ(host().Message(1), 1);
    return host().Start();
  }
};

using WholePluginTest = PluginTest_;

TEST_F(WholePluginTest, FromLoadToUnload) {
  testhost::Scene& scene = host().SceneModel();
  testhost::Document* document = scene.NewDocument();
  testhost::SceneObject* mesh = scene.AddPolygonObject(document, 8, 6, 1);
  scene.SetActive(document, mesh);

  ASSERT_EQ(Load(), 1);
  ASSERT_EQ(kernel().LogLines().size(), 1u);
  EXPECT_EQ(kernel().LogLines()[0].text, "Quorvant Software: Statlume successfully loaded.");

  RegisteredCommand& command = Command();
  EXPECT_EQ(command.name, "Statlume");
  EXPECT_EQ(command.help, ResourceText(10002));
  EXPECT_FALSE(command.help.empty());
  ASSERT_NE(command.icon, nullptr);
  EXPECT_EQ(command.icon->width, 32);
  EXPECT_EQ(command.icon->height, 32);
  EXPECT_EQ(command.icon->ScaleFactor(), 1.0);
  EXPECT_EQ(host().BitmapModel().Made(), 1);
  EXPECT_EQ(host().BitmapModel().Live(), 0u);  // the plug-in freed its bitmap after the call
  EXPECT_EQ(host().WindowModel().LiveWindows(), 1u);  // the window object exists before any window

  EXPECT_TRUE(commands().Run(command));
  Window& window = *DialogWindow();
  EXPECT_TRUE(window.open);
  // A non-modal window, placed and sized by the host.
  EXPECT_EQ(window.type, testhost::dlg::kAsync);
  EXPECT_EQ(window.pluginId, kCommandId);
  EXPECT_EQ(window.subId, 0);
  EXPECT_EQ(std::vector<int>({window.x, window.y, window.width, window.height}), (std::vector<int>{-1, -1, 0, 0}));
  EXPECT_EQ(window.flags, testhost::openflag::kNone);
  EXPECT_EQ(window.title, "Statlume");
  EXPECT_EQ(window.elements[1002].text, "6");
  EXPECT_EQ(window.elements[1004].text, "8");
  EXPECT_EQ(window.elements[1008].text, "1");

  mesh->polygons = 12;
  host().WindowModel().Send(window, code::MciM, {{code::MciI, code::kSceneChanged}});
  EXPECT_EQ(window.elements[1002].text, "12");

  host().WindowModel().Send(window, code::bACT, {{code::meid, testhost::tool::kAbout}});
  ASSERT_EQ(host().ApplicationModel().messageBoxes.size(), 1u);
  EXPECT_EQ(host().ApplicationModel().messageBoxes[0].first, ResourceText(10001));
  EXPECT_NE(host().ApplicationModel().messageBoxes[0].first.find("Quorvant Software"), std::string::npos);
  EXPECT_EQ(host().ApplicationModel().messageBoxes[0].second, 48);

  host().WindowModel().Send(window, code::bACT, {{code::meid, testhost::tool::kHelpFile}});
  ASSERT_EQ(host().ApplicationModel().openedFiles.size(), 1u);
  const fs::path manual = host().ApplicationModel().openedFiles[0];
  EXPECT_EQ(manual, fs::path(host().PluginFile()).parent_path() / "Statlume.pdf");
  EXPECT_TRUE(fs::exists(manual));

  // Unloading: the command goes (and its window object with it), then the last end.
  commands().DestroyAll();
  EXPECT_EQ(host().WindowModel().LiveWindows(), 0u);
  EXPECT_EQ(host().ResourceModel().OpenFolders(), 1u);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().ResourceModel().OpenFolders(), 0u);
  host().Unload();
  EXPECT_EQ(kernel().LiveAllocations(), 0u);
  EXPECT_EQ(scene.OutstandingCopies(), 0u);
}

TEST_F(WholePluginTest, RegistrationRecordHoldsOnlyItsFields) {
  ASSERT_EQ(Load(), 1);
  const RegisteredCommand& command = Command();
  // Fields that may be non-zero: info, destroy routine, data object, help, icon and
  // the eight operations; everything else, the empty operation included, is zero.
  // Windows x64: one-word member pointers and a 384-byte record; else two words, 768.
  const bool windows = testhost::build::kWindows;
  const std::size_t pointerWidth = windows ? 8 : 16;
  ASSERT_EQ(command.record.size(), windows ? 384u : 768u);
  std::vector<std::pair<std::size_t, std::size_t>> fields =
      windows ? std::vector<std::pair<std::size_t, std::size_t>>{{0, 4}, {8, 8}, {64, 8}, {128, 8}, {136, 8}}
              : std::vector<std::pair<std::size_t, std::size_t>>{{0, 4}, {8, 16}, {128, 8}, {256, 8}, {264, 8}};
  const std::vector<std::size_t> operations =
      windows ? std::vector<std::size_t>{144, 152, 160, 176, 184, 192, 200, 208}
              : std::vector<std::size_t>{272, 288, 304, 336, 352, 368, 384, 400};
  for (std::size_t offset : operations) fields.emplace_back(offset, pointerWidth);
  EXPECT_EQ(command.type, 4);
  EXPECT_EQ(command.info, 0);
  for (std::size_t at = 0; at < command.record.size(); ++at) {
    bool inField = false;
    for (const auto& [offset, width] : fields) inField = inField || (at >= offset && at < offset + width);
    if (!inField) {
      EXPECT_EQ(command.record[at], 0) << "byte " << at;
    }
  }
  EXPECT_NE(command.data, nullptr);
  EXPECT_NE(command.destroy.pointer, 0u);
  EXPECT_EQ(command.destroy.adjustment, 0);
  // Each operation is the member pointer to its own virtual member of CommandData
  // (after the destructor's two slots), so that operations 2, 3 and 5 are told apart.
  for (int operation = 1; operation <= 8; ++operation)
    EXPECT_EQ(testhost::VirtualSlotOf(command.operations[static_cast<std::size_t>(operation)]),
              static_cast<long>(testhost::registration::kFirstOperationSlot) + operation - 1)
        << operation;
  const auto registration = host().CallsTo(entry::RegisterPluginRecord);
  ASSERT_EQ(registration.size(), 1u);
  EXPECT_EQ(registration[0].Int(0), 2024000);
  EXPECT_EQ(registration[0].Int(1), 4);
  EXPECT_EQ(registration[0].Int(2), kCommandId);
  EXPECT_EQ(registration[0].Int(5), static_cast<std::int32_t>(testhost::registration::kSize));
  EXPECT_EQ(host().End(), 1);
}

TEST_F(WholePluginTest, CommandOperations) {
  ASSERT_EQ(Load(), 1);
  RegisteredCommand& command = Command();
  EXPECT_EQ(commands().QueryState(command), 0x40000000);
  EXPECT_TRUE(commands().Run(command));
  EXPECT_TRUE(commands().Run(command));  // already open: no second open
  EXPECT_EQ(host().CountCalls(entry::DialogOpen), 1u);
  EXPECT_EQ(commands().QueryState(command), 0x40000000);
  EXPECT_EQ(commands().QueryText(command), "");
  EXPECT_FALSE(commands().CallFurther(command, 2));
  EXPECT_FALSE(commands().CallFurther(command, 3));
  EXPECT_FALSE(commands().CallFurther(command, 5));
  EXPECT_TRUE(commands().CallFurther(command, 8));

  Window& window = *DialogWindow();
  host().WindowModel().Close(window);
  void* token = host().WindowModel().IssueLayoutToken();
  EXPECT_TRUE(commands().Restore(command, token));
  EXPECT_TRUE(window.open);
  EXPECT_EQ(window.restoredFrom, token);
  EXPECT_EQ(window.pluginId, kCommandId);
  EXPECT_EQ(window.subId, 0);
  EXPECT_EQ(host().CountCalls(entry::DialogRestore), 1u);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(WholePluginTest, ResourcesLoadOnceAndGoAtTheLastEnd) {
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), 1);
  EXPECT_EQ(host().Message(1), 1);
  const auto& opened = host().ResourceModel().openAttempts;
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], (fs::path(host().PluginFile()).parent_path() / "res").generic_string());
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().ResourceModel().OpenFolders(), 1u);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().ResourceModel().OpenFolders(), 0u);
  EXPECT_EQ(host().ResourceModel().closeFlags, std::vector<int>{1});  // the flag every load set
  // A later load fails without asking the host again.
  EXPECT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), -1);
  EXPECT_EQ(host().CountCalls(entry::ResourceOpen), 1u);
  EXPECT_EQ(host().End(), 1);
}

TEST_F(WholePluginTest, ResourcesStillHeldAtUnloadAreReleased) {
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  host().Unload();
  EXPECT_EQ(host().CountCalls(entry::ResourceClose), 1u);
  EXPECT_EQ(host().ResourceModel().OpenFolders(), 0u);
}

TEST_F(WholePluginTest, PluginAmongTheHostsOwnModules) {
  const std::string folder = fs::path(host().PluginFile()).parent_path().string();
  host().Reload([&](testhost::Kernel& k) { k.moduleLocations["net.hostapp.scene.framework"] = folder; });
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), -1);  // no such folder below the test host's application
  const auto& opened = host().ResourceModel().openAttempts;
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "/opt/hostapp/resource/modules/statlume");
  EXPECT_EQ(host().End(), 1);
}

TEST_F(WholePluginTest, WithoutMemoryForTheCommandTheStartFails) {
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  kernel().FailAllocation(kernel().AllocationCount() + 1);  // the command object
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(host().CountCalls(entry::RegisterPluginRecord), 0u);
  ASSERT_EQ(kernel().LogLines().size(), 1u);
  EXPECT_EQ(kernel().LogLines()[0].text, "Quorvant Software: Failed to load Statlume");
  EXPECT_EQ(host().BitmapModel().Live(), 0u);
  EXPECT_EQ(host().End(), 1);
}

// The command is the host's from the registration call on, also when the host
// refuses it: the plug-in neither ends it nor touches it again, and the host ends it
// through the record's destroy routine when it unloads.
TEST_F(WholePluginTest, RefusedRegistrationLeavesTheCommandToTheHost) {
  host().FailEntry(entry::RegisterPluginRecord);
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  EXPECT_EQ(host().Start(), 0);
  EXPECT_EQ(kernel().LogLines().at(0).text, "Quorvant Software: Failed to load Statlume");
  EXPECT_EQ(commands().Refused(), 1u);
  EXPECT_EQ(commands().ById(kCommandId), nullptr);
  ASSERT_EQ(host().WindowModel().LiveWindows(), 1u);
  const void* window = host().WindowModel().All().at(0);
  const void* command = commands().Registered().at(0).data;
  EXPECT_TRUE(host().Objects().IsLive(command));
  EXPECT_EQ(host().BitmapModel().Live(), 0u);
  // Nothing after the registration names the command's window again.
  const std::vector<testhost::Call>& calls = host().Calls();
  std::size_t at = 0;
  while (at < calls.size() && !(calls[at].entry == entry::RegisterPluginRecord)) ++at;
  for (++at; at < calls.size(); ++at)
    for (std::uint64_t word : calls[at].args)
      EXPECT_NE(word, reinterpret_cast<std::uintptr_t>(window)) << testhost::Describe(calls[at].entry);
  EXPECT_EQ(host().End(), 1);
  EXPECT_EQ(host().CountCalls(entry::DialogRelease), 0u);
  host().Unload();
  EXPECT_EQ(host().CountCalls(entry::DialogRelease), 1u);
  EXPECT_EQ(host().WindowModel().LiveWindows(), 0u);
}

// The icon is read whole (frame -1, no settings) from the resource folder into a
// bitmap of the plug-in's, which carries the scale factor 1.0 and is freed right
// after the registration; the host keeps a copy.
TEST_F(WholePluginTest, IconIsLoadedWholeFromTheResourceFolder) {
  ASSERT_EQ(Load(), 1);
  const auto loads = host().CallsTo(entry::BitmapInitFromFile);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].Int(2), -1);
  EXPECT_EQ(loads[0].Ptr<void>(3), nullptr);
  const auto data = host().CallsTo(entry::BitmapSetData);
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0].Ptr<void>(0), loads[0].Ptr<void>(0));
  EXPECT_EQ(data[0].Int(1), 100);
  const auto frees = host().CallsTo(entry::BitmapFree);
  ASSERT_EQ(frees.size(), 1u);
  EXPECT_EQ(frees[0].Ptr<void>(0), loads[0].Ptr<void>(0));
  ASSERT_NE(Command().icon, nullptr);
  EXPECT_EQ(Command().icon->file,
            (fs::path(host().PluginFile()).parent_path() / "res" / "statlume.tif").generic_string());
  EXPECT_EQ(Command().icon->ScaleFactor(), 1.0);
  EXPECT_EQ(host().End(), 1);
}

// A host may answer a resource string with null: the plug-in falls back to the
// host's shared empty string.
TEST_F(WholePluginTest, NullResourceStringsRegisterEmptyTexts) {
  host().ResourceModel().nullStrings = {testhost::tool::kNameString, testhost::tool::kHelpString};
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(Command().name, "");
  EXPECT_EQ(Command().help, "");
  EXPECT_EQ(host().End(), 1);
}

TEST_F(WholePluginTest, WithoutABitmapTheCommandHasNoIcon) {
  host().FailEntry(entry::BitmapAlloc);
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(Command().icon, nullptr);
  EXPECT_EQ(host().CountCalls(entry::BitmapInitFromFile), 0u);
  EXPECT_EQ(host().CountCalls(entry::BitmapFree), 0u);
  EXPECT_EQ(host().End(), 1);
}

class IsolatedPluginTest : public ::testing::Test {
 protected:
  void Start(const std::map<std::string, std::string>& resources, bool withIcon) {
    file_ = IsolatedPlugin(resources, withIcon);
    host_ = std::make_unique<testhost::Host>(file_);
  }
  void TearDown() override {
    host_->Unload();
    for (const std::string& failure : host_->Failures()) ADD_FAILURE() << failure;
    host_.reset();
    fs::remove_all(fs::path(file_).parent_path());
  }
  testhost::Host& host() { return *host_; }
  std::string file_;
  std::unique_ptr<testhost::Host> host_;
};

TEST_F(IsolatedPluginTest, WithoutResourcesTheCommandRegistersWithEmptyTexts) {
  Start({}, false);
  ASSERT_EQ(host().Init(), 1);
  EXPECT_EQ(host().Message(1), -1);
  EXPECT_EQ(host().Message(1), -1);
  EXPECT_EQ(host().CountCalls(entry::ResourceOpen), 1u);
  EXPECT_EQ(host().Start(), 1);
  const auto& lines = host().Framework().LogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "Statlume: failed to load resource file.");
  EXPECT_EQ(lines[2].text, "Quorvant Software: Statlume successfully loaded.");
  RegisteredCommand* command = host().CommandModel().ById(kCommandId);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->name, "");
  EXPECT_EQ(command->help, "");
  EXPECT_EQ(command->icon, nullptr);
  EXPECT_EQ(host().BitmapModel().Made(), 1);
  EXPECT_EQ(host().BitmapModel().Live(), 0u);
  // The about box shows an empty text.
  host().CommandModel().Run(*command);
  Window& window = *host().WindowModel().ByPluginId(kCommandId);
  host().WindowModel().Send(window, code::bACT, {{code::meid, testhost::tool::kAbout}});
  ASSERT_EQ(host().ApplicationModel().messageBoxes.size(), 1u);
  EXPECT_EQ(host().ApplicationModel().messageBoxes[0].first, "");
  host().CommandModel().DestroyAll();
  EXPECT_EQ(host().End(), 1);
}

TEST_F(IsolatedPluginTest, MissingOrCorruptIconRegistersWithoutIcon) {
  Start({{"strings.res", "10000=Statlume\n"}, {"statlume.tif", "II*\0not really an image"}}, false);
  ASSERT_EQ(host().Init(), 1);
  ASSERT_EQ(host().Message(1), 1);
  EXPECT_EQ(host().Start(), 1);
  RegisteredCommand* command = host().CommandModel().ById(kCommandId);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->name, "Statlume");
  EXPECT_EQ(command->icon, nullptr);
  EXPECT_EQ(host().CountCalls(entry::BitmapAlloc), 1u);
  EXPECT_EQ(host().CountCalls(entry::BitmapFree), 1u);
  EXPECT_EQ(host().CountCalls(entry::BitmapSetData), 0u);
  host().CommandModel().DestroyAll();
  EXPECT_EQ(host().End(), 1);
}
