// The dialog bridge (host_gui.h, t_HostOS_Cd): dispatch of host messages, member
// operations, modal dialogs.
#include <cstring>
#include <new>
#include <vector>

#include "host_gui.h"
#include "runtime_fixture.h"
#include "virtual_slots.h"

namespace code = testhost::code;
namespace entry = testhost::entry;
using testhost::Window;

namespace {

class TestDialog : public GeDialog {
 public:
  bool BuildLayout() override {
    ++built;
    return buildAnswer;
  }
  bool FillValues() override {
    ++filled;
    return true;
  }
  bool OnCoreEvent(std::int32_t id, const GeContainer&) override {
    coreEvents.push_back(id);
    return true;
  }
  bool OnAction(std::int32_t id, const GeContainer&) override {
    actions.push_back(id);
    return true;
  }
  bool QueryClose() override { return refuseClose; }
  void OnTimerTick(const GeContainer&) override { ++ticks; }
  void OnWindowDestroyed() override { ++destroyed; }
  std::int32_t HandleMessage(const GeContainer& message, GeContainer& result) override {
    if (answerWithResult) {
      // Hands a result back to the host: the container gets an id of its own.
      ContainerDestroy(&result);
      ContainerInit(&result, 4242, nullptr);
    }
    return GeDialog::HandleMessage(message, result);
  }

  int built = 0, filled = 0, ticks = 0, destroyed = 0;
  bool buildAnswer = true;
  bool refuseClose = false;
  bool answerWithResult = false;
  std::vector<std::int32_t> coreEvents, actions;
};

constexpr std::int32_t kUnknownCode = 0x7A7A7A7A;  // 'zzzz'

}  // namespace

class DialogTest : public BoundRuntimeTest {
 protected:
  Window& window(GeDialog& dialog) { return *windows().Find(dialog.WindowHandle()); }
  std::int32_t Send(GeDialog& dialog, std::int32_t code, std::map<std::int32_t, std::int64_t> ints = {}) {
    return windows().Send(window(dialog), code, ints);
  }
};

TEST_F(DialogTest, VirtualOperationsKeepTheirOrder) {
  const std::uintptr_t first = VirtualOffset(&GeDialog::BuildLayout);
  EXPECT_EQ(first, 16u);  // after the two destructor entries
  EXPECT_EQ(VirtualOffset(&GeDialog::FillValues), first + 8);
  EXPECT_EQ(VirtualOffset(&GeDialog::OnCoreEvent), first + 16);
  EXPECT_EQ(VirtualOffset(&GeDialog::OnAction), first + 24);
  EXPECT_EQ(VirtualOffset(&GeDialog::QueryClose), first + 32);
  EXPECT_EQ(VirtualOffset(&GeDialog::OnTimerTick), first + 40);
  EXPECT_EQ(VirtualOffset(&GeDialog::OnWindowDestroyed), first + 48);
  EXPECT_EQ(VirtualOffset(&GeDialog::HandleMessage), first + 56);
}

TEST_F(DialogTest, WindowObjectLivesWithTheDialog) {
  void* handle = nullptr;
  {
    TestDialog dialog;
    handle = dialog.WindowHandle();
    ASSERT_NE(handle, nullptr);
    const auto create = host().CallsTo(entry::DialogCreate);
    ASSERT_EQ(create.size(), 1u);
    EXPECT_EQ(create[0].Ptr<void>(0), reinterpret_cast<void*>(&DialogDispatch));
    EXPECT_EQ(create[0].Ptr<void>(1), static_cast<void*>(&dialog));
    EXPECT_FALSE(dialog.IsHidden());
    EXPECT_FALSE(dialog.IsLayoutBuilt());
  }
  EXPECT_EQ(host().CountCalls(entry::DialogRelease), 1u);
  EXPECT_EQ(windows().Find(handle), nullptr);
}

TEST_F(DialogTest, LayoutIsBuiltOncePerWindow) {
  TestDialog dialog;
  EXPECT_EQ(Send(dialog, code::bVIN), 1);  // before the layout: nothing to fill
  EXPECT_EQ(dialog.filled, 0);
  EXPECT_EQ(Send(dialog, code::bINI), 1);
  EXPECT_EQ(Send(dialog, code::bINI), 1);
  EXPECT_EQ(dialog.built, 1);
  EXPECT_EQ(Send(dialog, code::bVIN), 1);
  EXPECT_EQ(dialog.filled, 1);
  EXPECT_EQ(Send(dialog, code::dsty), 0);
  EXPECT_EQ(dialog.destroyed, 1);
  dialog.buildAnswer = false;
  EXPECT_EQ(Send(dialog, code::bINI), 0);  // rebuilt after dsty; its answer passes through
  EXPECT_EQ(dialog.built, 2);
}

TEST_F(DialogTest, MessagesReachTheirOperations) {
  TestDialog dialog;
  EXPECT_EQ(Send(dialog, code::MciM, {{code::MciI, 604}}), 1);
  EXPECT_EQ(Send(dialog, code::sync, {{code::MciI, 12}}), 1);
  EXPECT_EQ(Send(dialog, code::MciM), 1);  // no id: 0
  EXPECT_EQ(dialog.coreEvents, (std::vector<std::int32_t>{604, 12, 0}));
  EXPECT_EQ(Send(dialog, code::bACT, {{code::meid, 5001}}), 1);
  EXPECT_EQ(dialog.actions, std::vector<std::int32_t>{5001});
  EXPECT_EQ(Send(dialog, code::kTimer), 1);
  EXPECT_EQ(dialog.ticks, 1);
  EXPECT_EQ(Send(dialog, code::chkc), 0);  // QueryClose's default
  dialog.refuseClose = true;
  EXPECT_EQ(Send(dialog, code::chkc), 1);  // QueryClose's answer reaches the host
  EXPECT_EQ(Send(dialog, kUnknownCode), 0);
  EXPECT_EQ(Send(dialog, code::inta), 0);
  const auto interaction = host().CallsTo(entry::HostInteraction);
  ASSERT_EQ(interaction.size(), 1u);
  EXPECT_EQ(interaction[0].args, (std::vector<std::uint64_t>{1, 1, 1}));
  EXPECT_EQ(Send(dialog, code::visF), 0);
  EXPECT_TRUE(dialog.IsHidden());
  EXPECT_EQ(Send(dialog, code::visT), 0);
  EXPECT_FALSE(dialog.IsHidden());
  EXPECT_EQ(Send(dialog, code::visF), 0);
  EXPECT_TRUE(dialog.IsHidden());
  EXPECT_TRUE(window(dialog).deliveredResults.empty());
}

TEST_F(DialogTest, ResultContainersAreDeliveredOnlyWhenGiven) {
  TestDialog dialog;
  Send(dialog, code::MciM);
  EXPECT_EQ(host().CountCalls(entry::DialogDeliverResult), 0u);
  dialog.answerWithResult = true;
  Send(dialog, code::MciM);
  EXPECT_EQ(window(dialog).deliveredResults, std::vector<std::int32_t>{4242});
  EXPECT_EQ(windows().LiveContainers(), 0u);
}

TEST_F(DialogTest, DispatchWithoutMessageOrDialogAnswersZero) {
  TestDialog dialog;
  EXPECT_EQ(DialogDispatch(dialog.WindowHandle(), nullptr, nullptr), 0);
  testhost::ContainerStorage message{};
  windows().InitContainer(&message, code::bINI, nullptr);
  auto* storage = reinterpret_cast<const GeContainer*>(&message);
  // A window object with no dialog behind it.
  void* orphan = windows().Create(nullptr, nullptr, testhost::Owner::kHost);
  EXPECT_EQ(DialogDispatch(static_cast<DialogHandle>(orphan), nullptr, storage), 0);
  // A user area of the host's own, with no plug-in area behind it.
  void* area = windows().CreateUserArea(dialog.WindowHandle(), 300, nullptr, 0, testhost::Owner::kHost);
  EXPECT_EQ(DialogDispatch(dialog.WindowHandle(), static_cast<UserAreaHandle>(area), storage), 0);
  EXPECT_EQ(dialog.built, 0);
  EXPECT_EQ(host().CountCalls(entry::DialogDeliverResult), 0u);
  windows().DestroyContainer(&message);
}

TEST_F(DialogTest, MemberOperationsPassTheirArguments) {
  TestDialog dialog;
  EXPECT_TRUE(dialog.OpenWindow(DLG_TYPE::ASYNC_POPUP_RESIZEABLE, 1040438, 10, 20, 300, 400, 7,
                                OPENDIALOGFLAGS::CLIENTCOORDINATES));
  EXPECT_TRUE(dialog.IsWindowOpen());
  const Window& opened = window(dialog);
  EXPECT_EQ(opened.pluginId, 1040438);
  EXPECT_EQ(opened.subId, 7);
  EXPECT_EQ(opened.type, testhost::dlg::kAsyncPopupResizeable);
  EXPECT_EQ(std::vector<int>({opened.x, opened.y, opened.width, opened.height}), (std::vector<int>{10, 20, 300, 400}));
  EXPECT_EQ(opened.flags, testhost::openflag::kClientCoordinates);
  EXPECT_EQ(host().CallsTo(entry::DialogOpen).at(0).Ptr<void>(2), nullptr);  // no parent
  EXPECT_EQ(dialog.built, 1);  // the host laid the window out
  EXPECT_EQ(dialog.filled, 1);

  dialog.SetWindowTitle(core::String("Title"));
  dialog.MenuClear();
  dialog.MenuBeginSubmenu(core::String("Options"));
  dialog.MenuAddItem(5001, core::String("Item"));
  dialog.MenuEndSubmenu();
  dialog.MenuCommit();
  EXPECT_TRUE(dialog.MenuSetItemState(5001, false, true));
  EXPECT_FALSE(window(dialog).FindMenuItem(5001)->enabled);
  EXPECT_TRUE(window(dialog).FindMenuItem(5001)->checked);
  EXPECT_TRUE(dialog.MenuSetItemState(5001, true, false));
  EXPECT_TRUE(window(dialog).FindMenuItem(5001)->enabled);
  EXPECT_FALSE(window(dialog).FindMenuItem(5001)->checked);
  dialog.BeginGroup(5006, 57, 3, 2, core::String("Grid"), 5, 60, 70);
  dialog.SetGroupPadding(1, 2, 3, 4);
  EXPECT_NE(dialog.AddLabel(1002, 9, 80, 90, core::String("Label"), 6), nullptr);
  dialog.EndGroup();
  EXPECT_EQ(window(dialog).title, "Title");
  EXPECT_EQ(window(dialog).menu.at(0).text, "Options");
  const auto& layout = window(dialog).layout;
  ASSERT_EQ(layout.size(), 4u);
  EXPECT_EQ(std::vector<int>({layout[0].id, layout[0].flags, layout[0].columns, layout[0].rows, layout[0].groupFlags,
                              layout[0].width, layout[0].height}),
            (std::vector<int>{5006, 57, 3, 2, 5, 60, 70}));
  EXPECT_EQ(layout[0].text, "Grid");
  EXPECT_EQ(std::vector<int>(layout[1].padding, layout[1].padding + 4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(std::vector<int>({layout[2].id, layout[2].flags, layout[2].width, layout[2].height, layout[2].border}),
            (std::vector<int>{1002, 9, 80, 90, 6}));
  EXPECT_EQ(layout[2].text, "Label");
  EXPECT_EQ(layout[3].kind, testhost::LayoutItem::kGroupEnd);

  EXPECT_TRUE(dialog.SetElementText(ElementRef{1002}, core::String("6"), 1, 2));
  EXPECT_EQ(window(dialog).elements[1002].text, "6");
  ASSERT_EQ(window(dialog).writes.size(), 1u);
  EXPECT_EQ(window(dialog).writes[0].tristate, 1);
  EXPECT_EQ(window(dialog).writes[0].flags, 2);
  EXPECT_EQ(host().CountCalls(entry::GeValueDestroy), 1u);
  EXPECT_FALSE(dialog.SetElementText(ElementRef{9999}, core::String("x"), 0, 0));  // no such element
  EXPECT_TRUE(dialog.EnableElement(ElementRef{1002}, false));
  EXPECT_FALSE(window(dialog).elements[1002].enabled);
  EXPECT_TRUE(dialog.EnableElement(ElementRef{1002}, true));
  EXPECT_TRUE(window(dialog).elements[1002].enabled);

  EXPECT_TRUE(dialog.CloseWindow());
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_EQ(dialog.destroyed, 1);
  void* token = windows().IssueLayoutToken();
  EXPECT_TRUE(dialog.RestoreWindow(1040439, 3, token));
  EXPECT_EQ(window(dialog).pluginId, 1040439);
  EXPECT_EQ(window(dialog).subId, 3);
  EXPECT_EQ(window(dialog).restoredFrom, token);
  EXPECT_EQ(dialog.built, 2);
  EXPECT_EQ(windows().LiveContainers(), 0u);
}

// The host answers every bool with garbage above the low byte (0x...4200 for
// false): each operation that answers the host's bool still reads false as false.
TEST_F(DialogTest, BoolAnswersWithGarbageAboveTheLowByte) {
  TestDialog dialog;
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_FALSE(dialog.CloseWindow());
  EXPECT_FALSE(dialog.MenuEndSubmenu());            // no submenu begun
  EXPECT_FALSE(dialog.MenuSetItemState(77, true, true));  // no such item
  EXPECT_TRUE(dialog.OpenWindow(DLG_TYPE::ASYNC, 1, 0, 0, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  EXPECT_TRUE(dialog.IsWindowOpen());
  EXPECT_TRUE(dialog.MenuClear());
  EXPECT_TRUE(dialog.CloseWindow());
  EXPECT_FALSE(dialog.IsWindowOpen());
  host().SetCleanBoolAnswers(true);  // the same answers from a host that clears the register
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_FALSE(dialog.MenuEndSubmenu());
}

// The host builds its containers in the room the plug-in gives them, and may take
// all of it: nothing past that room is touched, and the room is aligned for it.
TEST_F(DialogTest, HostContainersStayInTheirRoom) {
  constexpr unsigned char kUntouched = 0x5A;
  alignas(16) unsigned char room[sizeof(LocalContainer) + 64];
  std::memset(room, kUntouched, sizeof(room));
  auto* container = new (room) LocalContainer(1234);
  ASSERT_TRUE(container->Constructed());
  EXPECT_EQ(container->Id(), 1234);
  for (std::size_t at = sizeof(LocalContainer); at < sizeof(room); ++at)
    EXPECT_EQ(room[at], kUntouched) << "byte " << at - sizeof(LocalContainer) << " past the container";
  container->~LocalContainer();
  EXPECT_EQ(windows().LiveContainers(), 0u);
}

TEST_F(DialogTest, HostThatDeclinesElementMessages) {
  TestDialog dialog;
  dialog.OpenWindow(DLG_TYPE::ASYNC, 1, 0, 0, 0, 0, 0, OPENDIALOGFLAGS::NONE);
  dialog.AddLabel(7, 0, 0, 0, core::String(), 0);
  windows().elementMessagesAnswer = false;
  EXPECT_FALSE(dialog.SetElementText(ElementRef{7}, core::String("text"), 0, 0));
  ASSERT_EQ(window(dialog).writes.size(), 1u);
  EXPECT_EQ(window(dialog).writes[0].text, "text");
  EXPECT_EQ(host().Objects().LivePluginObjects("typed value"), 0u);  // released all the same
}

TEST_F(DialogTest, WithoutAWindowObjectOperationsAnswerAtOnce) {
  windows().RefuseWindows(true);
  TestDialog dialog;
  ASSERT_EQ(dialog.WindowHandle(), nullptr);
  host().ClearCalls();
  EXPECT_FALSE(dialog.OpenWindow(DLG_TYPE::ASYNC, 1, 0, 0, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  EXPECT_FALSE(dialog.CloseWindow());
  dialog.SetWindowTitle(core::String("t"));
  EXPECT_FALSE(dialog.BeginGroup(1, 0, 1, 0, core::String(), 0, 0, 0));
  EXPECT_FALSE(dialog.SetGroupPadding(1, 1, 1, 1));
  EXPECT_FALSE(dialog.EndGroup());
  EXPECT_EQ(dialog.AddLabel(1, 0, 0, 0, core::String(), 0), nullptr);
  EXPECT_FALSE(dialog.EnableElement(ElementRef{1}, true));
  EXPECT_TRUE(host().EntriesCalled().empty());
  // Setting a text builds the message container and calls nothing else.
  EXPECT_FALSE(dialog.SetElementText(ElementRef{1}, core::String("0"), 0, 0));
  for (const testhost::EntryId& called : host().EntriesCalled()) EXPECT_EQ(called.table, testhost::Table::Bc);
  EXPECT_FALSE(host().EntriesCalled().empty());
  // Nor do these, which would otherwise hand the host a null window.
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_FALSE(dialog.MenuClear());
  EXPECT_FALSE(dialog.RestoreWindow(1, 0, nullptr));
  EXPECT_EQ(host().CountCalls(entry::DialogRelease), 0u);
}
