// The strict host's dialog entries (host_gui.h, t_HostOS_Cd, served by the test
// host's cd_dialogs.cpp and cd_element_operation.cpp): a wrong argument or a wrong
// use of a window object fails the test, naming the entry, the argument and the
// object.
#include "window_contract_fixture.h"

namespace code = testhost::code;
namespace entry = testhost::entry;
namespace op = testhost::op;

TEST_F(WindowContractTest, WindowHandlesAreLiveWindowObjects) {
  Operate(nullptr, op::kIsWindowOpen, 0, nullptr);
  EXPECT_TRUE(OneFault({"t_HostOS_Cd offset 272 (ElementOperation) code 52 (IsWindowOpen)", "argument 'window'",
                        "must not be null"}));
  int notAWindow = 0;
  DialogEnableElement(reinterpret_cast<DialogHandle>(&notAWindow), 1001, true, nullptr);
  EXPECT_TRUE(OneFault({"(DialogEnable)", "argument 'window'", "not a window object the host created"}));

  DialogHandle released = nullptr;
  {
    GeDialog dialog;
    released = dialog.WindowHandle();
  }
  DialogClose(released);
  EXPECT_TRUE(OneFault({"(DialogClose)", "argument 'window'", "window object #", "DialogCreate", "released already"}));
  DialogRelease(released);
  EXPECT_TRUE(OneFault({"(DialogRelease)", "window object #", "twice"}));
}

TEST_F(WindowContractTest, WindowObjectsAreThePluginsUntilReleased) {
  int owner = 0;
  DialogHandle kept = DialogCreate(&DialogDispatch, &owner);
  const std::string release = testhost::Describe(entry::DialogRelease);
  host().Objects().CheckNothingHeld([&](const std::string& route) { return route == release; });
  std::vector<std::string> windowFaults;
  for (const std::string& fault : host().Failures())
    if (fault.find("window object #") != std::string::npos) windowFaults.push_back(fault);
  host().ClearFailures();
  ASSERT_EQ(windowFaults.size(), 1u);
  EXPECT_NE(windowFaults[0].find("(DialogCreate)) at unload (given back through " + release), std::string::npos)
      << windowFaults[0];
  DialogRelease(kept);
  EXPECT_TRUE(host().Failures().empty());
}

TEST_F(WindowContractTest, ElementOperationsFollowTheirCodesArgumentPattern) {
  GeDialog dialog;
  DialogHandle handle = dialog.WindowHandle();
  const core::String title("Title");
  void* element = nullptr;

  Operate(handle, op::kMenuSetItemState, 5001, nullptr, 2, 0);
  EXPECT_TRUE(OneFault({"code 43 (MenuSetItemState)", "argument 'a (enabled)'", "must be 0 or 1"}));
  Operate(handle, op::kMenuSetItemState, 5001, nullptr, 1, 3);
  EXPECT_TRUE(OneFault({"code 43 (MenuSetItemState)", "argument 'b (checked)'", "must be 0 or 1"}));
  Operate(handle, op::kMenuSetItemState, 5001, nullptr, 1, 1, 1);
  EXPECT_TRUE(OneFault({"code 43 (MenuSetItemState)", "argument 'c'", "must be 0"}));
  Operate(handle, op::kSetPluginId, 1040438, nullptr, 0, 1);
  EXPECT_TRUE(OneFault({"code 24 (SetPluginId)", "argument 'b'"}));
  Operate(handle, op::kMenuAddItem, 5001, Text(title), 0, 0, 0, 0, nullptr, &element);
  EXPECT_TRUE(OneFault({"code 38 (MenuAddItem)", "argument 'out-slot'", "must be null"}));
  Operate(handle, op::kAddLabel, 1001, Text(title), 57, 0, 0, 0, nullptr, nullptr);
  EXPECT_TRUE(OneFault({"code 3 (AddLabel)", "argument 'out-slot'", "must not be null"}));
  Operate(handle, op::kSetWindowTitle, 0, nullptr);
  EXPECT_TRUE(OneFault({"code 20 (SetWindowTitle)", "argument 'text'", "must not be null"}));
  Operate(handle, op::kMenuClear, 0, Text(title));
  EXPECT_TRUE(OneFault({"code 30 (MenuClear)", "argument 'text'", "must be null"}));
  Operate(handle, op::kIsWindowOpen, 5, nullptr);
  EXPECT_TRUE(OneFault({"code 52 (IsWindowOpen)", "argument 'id'", "must be 0"}));
  Operate(handle, op::kMenuCommit, 0, nullptr, 0, 0, 0, 0, &element);
  EXPECT_TRUE(OneFault({"code 35 (MenuCommit)", "argument 'pointer'", "must be null"}));
  Operate(handle, 99, 0, nullptr);
  EXPECT_TRUE(OneFault({"(ElementOperation)", "argument 'code'", "99"}));
  void* notAString = &element;
  Operate(handle, op::kMenuBeginSubmenu, 0, reinterpret_cast<const StringSlot*>(&notAString));
  EXPECT_TRUE(OneFault({"code 27 (MenuBeginSubmenu)", "argument 'text'", "not a live string"}));

  // The empty string holds no object and is a text all the same.
  Operate(handle, op::kAddLabel, 1001, Text(core::String()), 57, 100, 0, 0, nullptr, &element);
  EXPECT_TRUE(host().Failures().empty());
  EXPECT_NE(element, nullptr);
}

TEST_F(WindowContractTest, OpeningAndRestoringTakeTheHostsValues) {
  GeDialog dialog;
  DialogHandle handle = dialog.WindowHandle();
  const auto open = [&](std::int32_t type, void* parent, std::int32_t flags) {
    Operate(handle, op::kSetPluginId, 1, nullptr);
    DialogOpen(handle, type, parent, -1, -1, 0, 0, flags);
    DialogClose(handle);
  };
  open(13, nullptr, 0);
  EXPECT_TRUE(OneFault({"(DialogOpen)", "argument 'type'", "DLG_TYPE", "13"}));
  open(testhost::dlg::kAsync, &dialog, 0);
  EXPECT_TRUE(OneFault({"(DialogOpen)", "argument 'parent'", "must be null"}));
  open(testhost::dlg::kAsync, nullptr, 8);
  EXPECT_TRUE(OneFault({"(DialogOpen)", "argument 'flags'", "OPENDIALOGFLAGS"}));
  DialogOpen(handle, testhost::dlg::kAsync, nullptr, -1, -1, 0, 0, 0);  // no plug-in id set first
  EXPECT_TRUE(OneFault({"(DialogOpen)", "argument 'window'", "element operation 24"}));
  DialogClose(handle);

  int notIssued = 0;
  Operate(handle, op::kSetPluginId, 1, nullptr);
  DialogRestore(handle, &notIssued);
  EXPECT_TRUE(OneFault({"(DialogRestore)", "argument 'token'", "layout token"}));
}

TEST_F(WindowContractTest, GroupsAndElements) {
  GeDialog dialog;
  DialogHandle handle = dialog.WindowHandle();
  DialogGroupPadding(handle, 4, 4, 4, 4);
  EXPECT_TRUE(OneFault({"(DialogGroupPadding)", "argument 'window'", "group begun"}));
  DialogEndGroup(handle);
  EXPECT_TRUE(OneFault({"(DialogEndGroup)", "group begun"}));
  DialogBeginGroup(handle, 5006, 57, 3, 0, nullptr, 0, 0, 0);
  EXPECT_TRUE(OneFault({"(DialogBeginGroup)", "argument 'title'", "must not be null"}));

  void* element = nullptr;
  Operate(handle, op::kAddLabel, 1001, Text(core::String()), 57, 0, 0, 0, nullptr, &element);
  Raw<bool(void*, std::int32_t, std::int32_t, void*)>(entry::DialogEnable)(handle, 1001, 2, nullptr);
  EXPECT_TRUE(OneFault({"(DialogEnable)", "argument 'enabled'", "must be 0 or 1"}));
  int gui = 0;
  DialogEnableElement(handle, 1001, true, &gui);
  EXPECT_TRUE(OneFault({"(DialogEnable)", "argument 'custom GUI'", "null for the ordinary element 1001"}));
  window(dialog).customGuis[1002] = &gui;
  DialogEnableElement(handle, 1002, true, nullptr);
  EXPECT_TRUE(OneFault({"(DialogEnable)", "argument 'custom GUI'", "custom GUI of element 1002"}));
  DialogEnableElement(handle, 1002, true, &gui);
  EXPECT_TRUE(host().Failures().empty());
}

TEST_F(WindowContractTest, ElementMessagesCarryTextTristateAndFlags) {
  GeDialog dialog;
  DialogHandle handle = dialog.WindowHandle();
  GeValue value{0, 0, 0};
  {
    LocalContainer message(code::bTIC);
    message.SetString(code::bTIC, Text(core::String("7")));
    message.SetInt32(code::valu, 0);
    SendElementMessage(&value, handle, 1001, message.get(), nullptr);
    ReleaseGeValue(value);
  }
  EXPECT_TRUE(OneFault({"(SendElementMessage)", "argument 'message'", "'tris'"}));
  {
    LocalContainer message(code::vint);
    SendElementMessage(&value, handle, 1001, message.get(), nullptr);
    ReleaseGeValue(value);
  }
  EXPECT_TRUE(OneFault({"(SendElementMessage)", "argument 'message'", "'bTIC' or 'bDRA'", "'vint'"}));
  {
    LocalContainer message(code::bDRA);
    SendElementMessage(&value, handle, 300, message.get(), nullptr);
    ReleaseGeValue(value);
  }
  EXPECT_TRUE(OneFault({"(SendElementMessage)", "argument 'element'", "user area"}));
  {
    LocalContainer message(code::bTIC);
    SendElementMessage(nullptr, handle, 1001, message.get(), nullptr);
  }
  EXPECT_TRUE(OneFault({"(SendElementMessage)", "argument 'value'", "must not be null"}));
}

TEST_F(WindowContractTest, ResultsAreThePluginsOwnContainersWithAnId) {
  GeDialog dialog;
  DialogHandle handle = dialog.WindowHandle();
  {
    LocalContainer unanswered(code::kNoResult);
    DialogDeliverResult(handle, unanswered.get());
  }
  EXPECT_TRUE(OneFault({"(DialogDeliverResult)", "argument 'result'", "other than -1"}));
  testhost::ContainerStorage hosts{};
  windows().InitContainer(&hosts, 42, nullptr);
  DialogDeliverResult(handle, reinterpret_cast<GeContainer*>(&hosts));
  EXPECT_TRUE(OneFault({"(DialogDeliverResult)", "argument 'result'", "host container #", "may only read"}));
  windows().DestroyContainer(&hosts);
}

TEST_F(WindowContractTest, CustomGuiMessageIsThePluginsCopyWithTheHostsElement) {
  GeDialog dialog;
  DialogHandle handle = dialog.WindowHandle();
  const std::int32_t element = DialogCustomGuiElementId(handle);
  LocalContainer copy(code::kCustomGuiMessage);
  copy.SetInt32(code::meid, element + 1);
  DialogCustomGuiMessage(handle, copy.get(), nullptr);
  EXPECT_TRUE(OneFault({"(DialogCustomGuiMessage)", "argument 'message 'meid''", std::to_string(element)}));
  copy.SetInt32(code::meid, element);
  DialogCustomGuiMessage(handle, copy.get(), &dialog);
  EXPECT_TRUE(OneFault({"(DialogCustomGuiMessage)", "argument 'pointer'", "must be null"}));
}
