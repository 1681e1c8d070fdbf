// Modal dialogs (host_gui.h), their range checks, and the close queries of
// sub-dialogs.
#include <vector>

#include "host_gui.h"
#include "runtime_fixture.h"

namespace code = testhost::code;
namespace entry = testhost::entry;
using testhost::Window;

namespace {

class Checked : public GeModalDialog {
 public:
  bool OnAction(std::int32_t id, const GeContainer&) override {
    ++actions;
    if (id == 1) {
      CheckIntRange(11, CHECKVALUERANGE::BETWEENOREQUALX, value, 0, 10);
      CheckIntRange(12, CHECKVALUERANGE::DIFFERENT, value, 10, 0);  // fails with 10 too, not reported again
    }
    return true;
  }
  bool QueryClose() override { return refuseClose; }
  std::int32_t value = 0;
  int actions = 0;
  bool refuseClose = false;
};

class Sub : public SubDialog {
 public:
  bool QueryClose() override { return true; }
  bool Armed() const { return closeArmed; }
};

}  // namespace

class ModalTest : public BoundRuntimeTest {
 protected:
  std::int32_t Act(Window& window, std::int32_t id) {
    return windows().Send(window, code::bACT, {{code::meid, id}});
  }
};

TEST_F(ModalTest, CancelClosesWithFalseEvenWhenTheWindowOpened) {
  Checked dialog;
  Window& window = *windows().Find(dialog.WindowHandle());
  window.modalLoop = [&](Window& w) { Act(w, 2); };
  EXPECT_FALSE(dialog.OpenModal(10, 20, 300, 400, false, OPENDIALOGFLAGS::ALIGNTOPLEFTATMOUSE));
  EXPECT_FALSE(dialog.Result());
  EXPECT_EQ(host().CountCalls(entry::DialogOpen), 1u);
  EXPECT_EQ(window.type, testhost::dlg::kModal);
  // A modal window has plug-in id 0 and sub-id 0, and the place and flags it was given.
  EXPECT_EQ(std::vector<int>({window.pluginId, window.subId}), (std::vector<int>{0, 0}));
  EXPECT_EQ(std::vector<int>({window.x, window.y, window.width, window.height}), (std::vector<int>{10, 20, 300, 400}));
  EXPECT_EQ(window.flags, testhost::openflag::kAlignTopLeftAtMouse);
}

TEST_F(ModalTest, FailedRangeCheckKeepsTheWindowOpenAndMarksOnce) {
  Checked dialog;
  dialog.value = 10;  // outside [0, 10)
  std::vector<bool> openAfter;
  windows().Find(dialog.WindowHandle())->modalLoop = [&](Window& w) {
    Act(w, 1);
    openAfter.push_back(w.open);
    dialog.value = 0;  // [0, 10) accepts its lower bound
    Act(w, 1);
    openAfter.push_back(w.open);
  };
  EXPECT_TRUE(dialog.OpenModal(0, 0, 0, 0, true, OPENDIALOGFLAGS::NONE));
  EXPECT_EQ(openAfter, (std::vector<bool>{true, false}));
  const Window& window = *windows().Find(dialog.WindowHandle());
  EXPECT_EQ(window.rangeFailures, std::vector<std::int32_t>{11});
  const auto message = host().CallsTo(entry::RangeMessage);
  ASSERT_EQ(message.size(), 1u);
  EXPECT_EQ(message[0].Int(0), 6);  // BETWEENOREQUALX
  EXPECT_EQ(message[0].Float(1), 0.0);
  EXPECT_EQ(message[0].Float(2), 10.0);
  EXPECT_EQ(message[0].Int(3), 5);  // INT
  EXPECT_EQ(host().CallsTo(entry::DialogOpen).at(0).Int(1), 11);  // MODAL_RESIZEABLE
  EXPECT_TRUE(dialog.Result());
}

TEST_F(ModalTest, CloseQueries) {
  Checked dialog;
  Window& window = *windows().Find(dialog.WindowHandle());
  EXPECT_EQ(windows().Send(window, code::askc), 0);  // not accepted yet
  EXPECT_EQ(windows().Send(window, code::chkc), 0);
  EXPECT_EQ(windows().Send(window, code::inta), 0);
  EXPECT_EQ(host().CountCalls(entry::HostInteraction), 0u);
  EXPECT_FALSE(dialog.CloseModal(true));  // nothing open to close
  EXPECT_TRUE(dialog.Result());
  dialog.refuseClose = true;
  EXPECT_EQ(windows().Send(window, code::askc), 1);
  EXPECT_EQ(windows().Send(window, code::chkc), 1);
  EXPECT_FALSE(dialog.Result());  // cleared by the close check
}

TEST_F(ModalTest, SubDialogCloseCheck) {
  Sub dialog;
  Window& window = *windows().Find(dialog.WindowHandle());
  EXPECT_EQ(windows().Send(window, code::askc), 1);
  window.closeCheckAnswer = false;
  EXPECT_EQ(windows().Send(window, code::chkc), 0);
  EXPECT_TRUE(dialog.Armed());
  window.closeCheckAnswer = true;
  EXPECT_EQ(windows().Send(window, code::chkc), 1);
  EXPECT_FALSE(dialog.Armed());
  EXPECT_EQ(windows().Send(window, code::askc), 0);
}

TEST(RangeCheck, EveryRangeType) {
  using R = CHECKVALUERANGE;
  struct Case {
    R type;
    int value;
    bool passes;
  };
  // Bounds x = 0, y = 10.
  const Case cases[] = {
      {R::GREATER, 1, true},         {R::GREATER, 0, false},        {R::GREATEROREQUAL, 0, true},
      {R::GREATEROREQUAL, -1, false}, {R::LESS, -1, true},          {R::LESS, 0, false},
      {R::LESSOREQUAL, 0, true},     {R::LESSOREQUAL, 1, false},    {R::BETWEEN, 5, true},
      {R::BETWEEN, 0, false},        {R::BETWEEN, 10, false},       {R::BETWEENOREQUAL, 0, true},
      {R::BETWEENOREQUAL, 10, true}, {R::BETWEENOREQUAL, 11, false}, {R::BETWEENOREQUALX, 0, true},
      {R::BETWEENOREQUALX, 10, false}, {R::BETWEENOREQUALY, 0, false}, {R::BETWEENOREQUALY, 10, true},
      {R::DIFFERENT, 3, true},       {R::DIFFERENT, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InRange<std::int32_t>(c.type, c.value, 0, 10), c.passes)
        << static_cast<int>(c.type) << " with " << c.value;
  // Comparisons are signed; floating point works the same way.
  EXPECT_TRUE(InRange<std::int32_t>(R::LESS, -5, 0, 0));
  EXPECT_TRUE(InRange<double>(R::BETWEENOREQUALX, 9.5, 0.0, 10.0));
  // Types outside 0 to 8 fail every value.
  for (int type : {-1, 9, 100})
    for (int value : {-1000, 0, 5, 1000})
      EXPECT_FALSE(InRange<std::int32_t>(static_cast<R>(type), value, -2000, 2000));
}
