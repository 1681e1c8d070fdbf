// The dialog bridge: dispatch of host messages, member operations, modal dialogs.
#include <cstring>
#include <vector>

#include "host_gui.h"
#include "runtime_fixture.h"

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
  bool answerWithResult = false;
  std::vector<std::int32_t> coreEvents, actions;
};

// Member function pointers to virtual functions hold 1 + the byte offset in the table.
template <typename F>
std::uintptr_t VirtualOffset(F function) {
  std::uintptr_t words[2];
  static_assert(sizeof(function) == sizeof(words));
  std::memcpy(words, &function, sizeof(words));
  return words[0] - 1;
}

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
  EXPECT_EQ(Send(dialog, msg::kInitValues), 1);  // before the layout: nothing to fill
  EXPECT_EQ(dialog.filled, 0);
  EXPECT_EQ(Send(dialog, msg::kBuildLayout), 1);
  EXPECT_EQ(Send(dialog, msg::kBuildLayout), 1);
  EXPECT_EQ(dialog.built, 1);
  EXPECT_EQ(Send(dialog, msg::kInitValues), 1);
  EXPECT_EQ(dialog.filled, 1);
  EXPECT_EQ(Send(dialog, msg::kDestroyed), 0);
  EXPECT_EQ(dialog.destroyed, 1);
  dialog.buildAnswer = false;
  EXPECT_EQ(Send(dialog, msg::kBuildLayout), 0);  // rebuilt after dsty; its answer passes through
  EXPECT_EQ(dialog.built, 2);
}

TEST_F(DialogTest, MessagesReachTheirOperations) {
  TestDialog dialog;
  EXPECT_EQ(Send(dialog, msg::kCoreMessage, {{msg::kCoreMessageId, 604}}), 1);
  EXPECT_EQ(Send(dialog, msg::kSyncMessage, {{msg::kCoreMessageId, 12}}), 1);
  EXPECT_EQ(Send(dialog, msg::kCoreMessage), 1);  // no id: 0
  EXPECT_EQ(dialog.coreEvents, (std::vector<std::int32_t>{604, 12, 0}));
  EXPECT_EQ(Send(dialog, msg::kAction, {{msg::kActionId, 5001}}), 1);
  EXPECT_EQ(dialog.actions, std::vector<std::int32_t>{5001});
  EXPECT_EQ(Send(dialog, msg::kTimer), 1);
  EXPECT_EQ(dialog.ticks, 1);
  EXPECT_EQ(Send(dialog, msg::kCheckClose), 0);  // QueryClose's default
  EXPECT_EQ(Send(dialog, MessageCode("zzzz")), 0);
  EXPECT_EQ(Send(dialog, msg::kInteraction), 0);
  const auto interaction = host().CallsTo(entry::HostInteraction);
  ASSERT_EQ(interaction.size(), 1u);
  EXPECT_EQ(interaction[0].args, (std::vector<std::uint64_t>{1, 1, 1}));
  EXPECT_EQ(Send(dialog, msg::kHidden), 0);
  EXPECT_TRUE(dialog.IsHidden());
  EXPECT_EQ(Send(dialog, msg::kVisible), 0);
  EXPECT_FALSE(dialog.IsHidden());
  EXPECT_TRUE(window(dialog).deliveredResults.empty());
}

TEST_F(DialogTest, ResultContainersAreDeliveredOnlyWhenGiven) {
  TestDialog dialog;
  Send(dialog, msg::kCoreMessage);
  EXPECT_EQ(host().CountCalls(entry::DialogDeliverResult), 0u);
  dialog.answerWithResult = true;
  Send(dialog, msg::kCoreMessage);
  EXPECT_EQ(window(dialog).deliveredResults, std::vector<std::int32_t>{4242});
  EXPECT_EQ(windows().LiveContainers(), 0u);
}

TEST_F(DialogTest, DispatchWithoutMessageOrDialogAnswersZero) {
  TestDialog dialog;
  EXPECT_EQ(DialogDispatch(dialog.WindowHandle(), nullptr, nullptr), 0);
  testhost::ContainerStorage message{};
  windows().InitContainer(&message, msg::kBuildLayout, nullptr);
  auto* storage = reinterpret_cast<const GeContainer*>(&message);
  // A window object with no dialog behind it.
  void* orphan = windows().Create(nullptr, nullptr);
  EXPECT_EQ(DialogDispatch(static_cast<DialogHandle>(orphan), nullptr, storage), 0);
  // A user-area handle that maps to no area.
  EXPECT_EQ(DialogDispatch(dialog.WindowHandle(), reinterpret_cast<UserAreaHandle>(&message), storage), 0);
  EXPECT_EQ(dialog.built, 0);
  EXPECT_EQ(host().CountCalls(entry::DialogDeliverResult), 0u);
  windows().DestroyContainer(&message);
}

TEST_F(DialogTest, MemberOperationsPassTheirArguments) {
  TestDialog dialog;
  const int token = 0;
  EXPECT_TRUE(dialog.OpenWindow(DLG_TYPE::ASYNC, 1040438, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  EXPECT_TRUE(dialog.IsWindowOpen());
  EXPECT_EQ(window(dialog).pluginId, 1040438);
  const auto open = host().CallsTo(entry::DialogOpen);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].Int(1), 20);
  EXPECT_EQ(open[0].Ptr<void>(2), nullptr);
  EXPECT_EQ(open[0].Int(3), -1);
  EXPECT_EQ(open[0].Int(5), 0);
  EXPECT_EQ(dialog.built, 1);  // the host laid the window out
  EXPECT_EQ(dialog.filled, 1);

  dialog.SetWindowTitle(core::String("Title"));
  dialog.MenuClear();
  dialog.MenuBeginSubmenu(core::String("Options"));
  dialog.MenuAddItem(5001, core::String("Item"));
  dialog.MenuEndSubmenu();
  dialog.MenuCommit();
  EXPECT_TRUE(dialog.MenuSetItemState(5001, true, true));
  dialog.BeginGroup(5006, 57, 3, 0, core::String(), 0, 0, 0);
  dialog.SetGroupPadding(4, 4, 4, 4);
  EXPECT_NE(dialog.AddLabel(1002, 57, 0, 0, core::String(), 0), nullptr);
  dialog.EndGroup();
  EXPECT_EQ(window(dialog).title, "Title");
  ASSERT_NE(window(dialog).FindMenuItem(5001), nullptr);
  EXPECT_TRUE(window(dialog).FindMenuItem(5001)->checked);
  EXPECT_EQ(window(dialog).menu.at(0).text, "Options");

  EXPECT_TRUE(dialog.SetElementText(ElementRef{1002}, core::String("6"), 0, 0));
  EXPECT_EQ(window(dialog).elements[1002].text, "6");
  EXPECT_EQ(host().CountCalls(entry::GeValueDestroy), 1u);
  EXPECT_FALSE(dialog.SetElementText(ElementRef{9999}, core::String("x"), 0, 0));  // no such element
  EXPECT_TRUE(dialog.EnableElement(ElementRef{1002}, false));
  EXPECT_FALSE(window(dialog).elements[1002].enabled);

  EXPECT_TRUE(dialog.CloseWindow());
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_EQ(dialog.destroyed, 1);
  EXPECT_TRUE(dialog.RestoreWindow(1040438, 3, const_cast<int*>(&token)));
  EXPECT_EQ(window(dialog).subId, 3);
  EXPECT_EQ(window(dialog).restoredFrom, &token);
  EXPECT_EQ(dialog.built, 2);
  EXPECT_EQ(windows().LiveContainers(), 0u);
}

TEST_F(DialogTest, SetElementTextCarriesTextTristateAndFlags) {
  TestDialog dialog;
  dialog.OpenWindow(DLG_TYPE::ASYNC, 1, 0, 0, 0, 0, 0, OPENDIALOGFLAGS::NONE);
  dialog.AddLabel(7, 0, 0, 0, core::String(), 0);
  host().OverrideEntry(entry::SendElementMessage,
                       +[](testhost::TypedValue* out, void*, std::int32_t id, const testhost::ContainerStorage* m,
                           void*) -> testhost::TypedValue* {
                         testhost::ContainerValue* c = testhost::Host::Current().WindowModel().Container(m);
                         EXPECT_EQ(id, 7);
                         EXPECT_EQ(c->id, MessageCode("bTIC"));
                         EXPECT_EQ(c->strings[MessageCode("bTIC")], "text");
                         EXPECT_EQ(c->ints[MessageCode("tris")], 1);
                         EXPECT_EQ(c->ints[MessageCode("valu")], 2);
                         *out = testhost::TypedValue{15, 0, 0};  // the host declines
                         return out;
                       });
  EXPECT_FALSE(dialog.SetElementText(ElementRef{7}, core::String("text"), 1, 2));
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
  EXPECT_TRUE(host().Calls().empty());
  // Setting a text builds the message container and calls nothing else.
  EXPECT_FALSE(dialog.SetElementText(ElementRef{1}, core::String("0"), 0, 0));
  for (const testhost::Call& call : host().Calls()) EXPECT_EQ(call.entry.table, testhost::Table::Bc);
  EXPECT_FALSE(host().Calls().empty());
  // These pass the missing handle on.
  EXPECT_FALSE(dialog.IsWindowOpen());
  EXPECT_FALSE(dialog.MenuClear());
  EXPECT_FALSE(dialog.RestoreWindow(1, 0, nullptr));
  EXPECT_EQ(host().CountCalls(entry::DialogRelease), 0u);
}
