// The statistics dialog driven as the host drives it: messages through the dialog
// bridge, the test host's scene, and what the window shows.
#include <memory>
#include <vector>

#include "Statlume.h"
#include "runtime_fixture.h"

namespace code = testhost::code;
namespace entry = testhost::entry;
namespace tool = testhost::tool;
using testhost::ObjectKind;
using testhost::SceneObject;
using testhost::Window;

namespace {

// Polygons, points, n-gons and objects of one column.
struct Column {
  std::string polygons, points, ngons, objects;
  friend bool operator==(const Column&, const Column&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Column& c) {
    return out << "{" << c.polygons << ", " << c.points << ", " << c.ngons << ", " << c.objects << "}";
  }
};

}  // namespace

class StatlumeTest : public BoundRuntimeTest {
 protected:
  void SetUp() override {
    BoundRuntimeTest::SetUp();
    document = scene().NewDocument();
    dialog = std::make_unique<StatlumeDialog>();  // its window object needs the bound host
  }
  void TearDown() override {
    dialog.reset();
    // Whatever happened, every object a command returned has been freed, and the
    // host saw no object freed twice and no scene object freed.
    EXPECT_EQ(scene().OutstandingCopies(), 0u);
    EXPECT_EQ(scene().LiveResultLists(), 0u);
    BoundRuntimeTest::TearDown();
  }

  void Open() {
    ASSERT_TRUE(dialog->OpenWindow(DLG_TYPE::ASYNC, tool::kCommandId, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE));
  }
  Window& window() { return *windows().Find(dialog->WindowHandle()); }
  Column Current() {
    return {Text(tool::kPolygonsCurrent), Text(tool::kPointsCurrent), Text(tool::kNgonsCurrent),
            Text(tool::kObjectsCurrent)};
  }
  Column Editable() {
    return {Text(tool::kPolygonsEditable), Text(tool::kPointsEditable), Text(tool::kNgonsEditable),
            Text(tool::kObjectsEditable)};
  }
  std::string Text(std::int32_t id) { return window().elements[id].text; }
  void SceneChanged(std::int32_t id = code::kSceneChanged) {
    windows().Send(window(), code::MciM, {{code::MciI, id}});
  }
  void Choose(std::int32_t menuItem) { windows().Send(window(), code::bACT, {{code::meid, menuItem}}); }
  bool Checked(std::int32_t menuItem) { return window().FindMenuItem(menuItem)->checked; }
  void Select(SceneObject* object) { scene().SetActive(document, object); }

  testhost::Document* document = nullptr;
  std::unique_ptr<StatlumeDialog> dialog;
};

TEST_F(StatlumeTest, LayoutTitleAndMenus) {
  Open();
  EXPECT_EQ(window().title, "Statlume");
  ASSERT_EQ(window().menu.size(), 2u);
  const testhost::MenuEntry& options = window().menu[0];
  EXPECT_EQ(options.text, "Options");
  ASSERT_EQ(options.items.size(), 3u);
  EXPECT_EQ(options.items[0].id, 5001);
  EXPECT_EQ(options.items[0].text, "Include Child Objects");
  EXPECT_EQ(options.items[1].id, 5003);
  EXPECT_EQ(options.items[1].text, "Include Non-Poly/Point Objects");
  EXPECT_EQ(options.items[2].id, 5002);
  EXPECT_EQ(options.items[2].text, "Pause");
  const testhost::MenuEntry& help = window().menu[1];
  EXPECT_EQ(help.text, "Help");
  ASSERT_EQ(help.items.size(), 2u);
  EXPECT_EQ(help.items[0].id, 5004);
  EXPECT_EQ(help.items[0].text, "About...");
  EXPECT_EQ(help.items[1].id, 5005);
  EXPECT_EQ(help.items[1].text, "Show Help File (.PDF)...");
}

TEST_F(StatlumeTest, GridOfFifteenLabels) {
  Open();
  const auto& layout = window().layout;
  ASSERT_EQ(layout.size(), 18u);
  EXPECT_EQ(layout[0].kind, testhost::LayoutItem::kGroup);
  EXPECT_EQ(layout[0].id, 5006);
  EXPECT_EQ(layout[0].flags, 57);
  EXPECT_EQ(layout[0].columns, 3);
  EXPECT_EQ(layout[0].rows, 0);
  EXPECT_EQ(layout[0].text, "");
  EXPECT_EQ(layout[0].groupFlags, 0);
  EXPECT_EQ(layout[0].width, 0);
  EXPECT_EQ(layout[0].height, 0);
  EXPECT_EQ(layout[1].kind, testhost::LayoutItem::kPadding);
  EXPECT_EQ(std::vector<int>(layout[1].padding, layout[1].padding + 4), (std::vector<int>{4, 4, 4, 4}));
  EXPECT_EQ(layout[17].kind, testhost::LayoutItem::kGroupEnd);
  struct Expected {
    int id, flags, width;
    const char* text;
  };
  const Expected expected[] = {
      {5006, 9, 100, ""},         {5006, 57, 100, "Current"}, {5006, 57, 100, "Editable"},
      {4001, 9, 100, "Polygons"}, {1002, 57, 0, ""},          {1001, 57, 0, ""},
      {4002, 9, 100, "Points"},   {1004, 57, 0, ""},          {1003, 57, 0, ""},
      {4004, 9, 100, "N-Gons"},   {1008, 57, 0, ""},          {1007, 57, 0, ""},
      {4003, 9, 100, "Objects"},  {1006, 57, 0, ""},          {1005, 57, 0, ""},
  };
  const auto labels = window().Labels();
  ASSERT_EQ(labels.size(), 15u);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_EQ(labels[i]->id, expected[i].id) << i;
    EXPECT_EQ(labels[i]->flags, expected[i].flags) << i;
    EXPECT_EQ(labels[i]->width, expected[i].width) << i;
    EXPECT_EQ(labels[i]->height, 0) << i;
    EXPECT_EQ(labels[i]->border, 0) << i;
    EXPECT_EQ(labels[i]->text, expected[i].text) << i;
  }
}

namespace {
// The order in which both the update and the clearing write the eight fields.
const std::vector<std::int32_t> kFieldOrder = {1001, 1002, 1003, 1004, 1007, 1008, 1005, 1006};
}  // namespace

TEST_F(StatlumeTest, FieldsAreWrittenInTheirOrderWithTristateAndFlagsZero) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 8, 6, 2, group);
  Select(group);
  Open();  // clears, then counts
  std::vector<std::int32_t> fields;
  std::vector<std::string> texts;
  for (const testhost::ElementWrite& write : window().writes) {
    fields.push_back(write.id);
    texts.push_back(write.text);
    EXPECT_EQ(write.tristate, 0) << write.id;
    EXPECT_EQ(write.flags, 0) << write.id;
  }
  std::vector<std::int32_t> twice = kFieldOrder;
  twice.insert(twice.end(), kFieldOrder.begin(), kFieldOrder.end());
  EXPECT_EQ(fields, twice);
  EXPECT_EQ(texts, (std::vector<std::string>{"0", "0", "0", "0", "0", "0", "0", "0",  // cleared
                                             "6", "6", "8", "8", "2", "2", "1", "2"}));

  // A failing conversion clears in the same order.
  window().writes.clear();
  scene().FailCommand(testhost::kCommandMakeEditable);
  SceneChanged();
  fields.clear();
  for (const testhost::ElementWrite& write : window().writes) {
    fields.push_back(write.id);
    EXPECT_EQ(write.text, "0");
    EXPECT_EQ(write.tristate, 0);
    EXPECT_EQ(write.flags, 0);
  }
  EXPECT_EQ(fields, kFieldOrder);
}

TEST_F(StatlumeTest, MenuItemsStayEnabledWhileTheirMarksToggle) {
  Open();
  for (std::int32_t item : {tool::kIncludeChildren, tool::kIncludeNonPoly, tool::kPause, tool::kPause})
    Choose(item);
  // (item, enabled, checked) of every MenuSetItemState, defaults first.
  std::vector<std::vector<std::int64_t>> states;
  for (const testhost::Call& call : host().CallsTo(entry::ElementOperation))
    if (call.Int(1) == testhost::op::kMenuSetItemState) states.push_back({call.Int(2), call.Int(4), call.Int(5)});
  EXPECT_EQ(states, (std::vector<std::vector<std::int64_t>>{{5001, 1, 1},
                                                            {5003, 1, 0},
                                                            {5002, 1, 0},
                                                            {5001, 1, 0},
                                                            {5003, 1, 1},
                                                            {5002, 1, 1},
                                                            {5002, 1, 0}}));
  for (std::int32_t item : {tool::kIncludeChildren, tool::kIncludeNonPoly, tool::kPause})
    EXPECT_TRUE(window().FindMenuItem(item)->enabled) << item;
}

TEST_F(StatlumeTest, NoActiveObjectShowsZerosAndTheDefaultOptions) {
  Open();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "0"}));
  EXPECT_EQ(Editable(), (Column{"0", "0", "0", "0"}));
  EXPECT_TRUE(Checked(tool::kIncludeChildren));
  EXPECT_FALSE(Checked(tool::kIncludeNonPoly));
  EXPECT_FALSE(Checked(tool::kPause));
  EXPECT_EQ(host().CountCalls(entry::RunModelingCommand), 0u);
  // Options change only their check marks without an active object.
  Choose(tool::kIncludeChildren);
  EXPECT_FALSE(Checked(tool::kIncludeChildren));
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "0"}));
}

TEST_F(StatlumeTest, SinglePolygonObject) {
  Select(scene().AddPolygonObject(document, 8, 6, 1));
  Open();
  EXPECT_EQ(Current(), (Column{"6", "8", "1", "1"}));
  EXPECT_EQ(Editable(), (Column{"6", "8", "1", "1"}));
  Choose(tool::kIncludeChildren);  // children off
  EXPECT_EQ(Current(), (Column{"6", "8", "1", "1"}));
  EXPECT_EQ(Editable(), (Column{"6", "8", "1", "1"}));
}

// One polygon with one n-gon: each column reports it, with and without children.
TEST_F(StatlumeTest, ObjectWithOnePolygon) {
  Select(scene().AddPolygonObject(document, 4, 1, 1));
  Open();
  EXPECT_EQ(Current(), (Column{"1", "4", "1", "1"}));
  EXPECT_EQ(Editable(), (Column{"1", "4", "1", "1"}));
  Choose(tool::kIncludeChildren);  // children off
  EXPECT_EQ(Current(), (Column{"1", "4", "1", "1"}));
  EXPECT_EQ(Editable(), (Column{"1", "4", "1", "1"}));
}

// An active object below a parent: the walk covers the object and nothing of its
// parent or its later siblings.
TEST_F(StatlumeTest, ActiveChildCountsOnlyItself) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  SceneObject* first = scene().AddPolygonObject(document, 8, 6, 0, group);
  scene().AddPolygonObject(document, 100, 100, 10, group);
  Select(first);
  Open();
  EXPECT_EQ(Current(), (Column{"6", "8", "0", "1"}));
  EXPECT_EQ(Editable(), (Column{"6", "8", "0", "1"}));
}

TEST_F(StatlumeTest, GeneratorHoldsNothingUntilConverted) {
  Select(scene().AddGenerator(document, ObjectKind::Cube, 2));
  Open();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "1"}));
  EXPECT_EQ(Editable(), (Column{"24", "26", "0", "1"}));
}

// The join takes the hierarchy it is given as it is, generators bringing nothing:
// only the editable copy gives the converted geometry.
TEST_F(StatlumeTest, JoinIsGivenTheEditableCopy) {
  SceneObject* cube = scene().AddGenerator(document, ObjectKind::Cube, 2);
  scene().AddGenerator(document, ObjectKind::Sphere, 8, cube);
  Select(cube);
  Open();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "2"}));
  EXPECT_EQ(Editable(), (Column{"56", "52", "0", "2"}));
}

// Children on, a childless active object is all there is: neither its later
// siblings in the scene nor the host's objects beside its editable copy count.
TEST_F(StatlumeTest, ChildlessActiveObjectWithLaterSiblings) {
  scene().SetResultNeighbours(true);
  scene().AddPolygonObject(document, 3, 1);
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6, 1);
  scene().AddPolygonObject(document, 100, 100, 10);
  scene().AddGenerator(document, ObjectKind::Cube, 2);
  Select(mesh);
  Open();
  EXPECT_EQ(Current(), (Column{"6", "8", "1", "1"}));
  EXPECT_EQ(Editable(), (Column{"6", "8", "1", "1"}));
  Choose(tool::kIncludeNonPoly);  // every object of the walk would count now
  EXPECT_EQ(Editable(), (Column{"6", "8", "1", "1"}));

  // The same for the last object below a group that has later siblings.
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 4, 2, 0, scene().AddPolygonObject(document, 8, 6, 0, group));
  scene().AddPolygonObject(document, 100, 100, 10);
  Select(group);
  SceneChanged();
  EXPECT_EQ(Current(), (Column{"8", "12", "0", "3"}));
  EXPECT_EQ(Editable(), (Column{"8", "12", "0", "3"}));
}

TEST_F(StatlumeTest, ChildrenAndNonGeometryObjects) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 8, 6, 0, group);
  scene().AddPolygonObject(document, 4, 1, 1, group);
  Select(group);
  Open();
  EXPECT_EQ(Current(), (Column{"7", "12", "1", "3"}));
  EXPECT_EQ(Editable(), (Column{"7", "12", "1", "2"}));  // the group holds no geometry
  Choose(tool::kIncludeNonPoly);
  EXPECT_TRUE(Checked(tool::kIncludeNonPoly));
  EXPECT_EQ(Editable(), (Column{"7", "12", "1", "3"}));

  Choose(tool::kIncludeChildren);  // children off: the option no longer matters
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "1"}));
  EXPECT_EQ(Editable(), (Column{"0", "0", "0", "0"}));
  Choose(tool::kIncludeNonPoly);
  EXPECT_EQ(Editable(), (Column{"0", "0", "0", "0"}));
}

TEST_F(StatlumeTest, ObjectKindsThatCountAsGeometry) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPointObject(document, 5, group);
  scene().Add(document, ObjectKind::Instance, group);  // flag 0x80, no geometry
  scene().Add(document, ObjectKind::Camera, group);    // none of the tests hold, other flag bits set
  SceneObject* bare = scene().AddPointObject(document, 0, group);
  bare->infoFlags &= ~testhost::kInfoGeometry;  // a point object counts by its type alone
  Select(group);
  Open();
  EXPECT_EQ(Current(), (Column{"0", "5", "0", "5"}));
  EXPECT_EQ(Editable(), (Column{"0", "5", "0", "3"}));
}

TEST_F(StatlumeTest, NgonsAreAskedOnlyOfObjectsWithPolygons) {
  SceneObject* empty = scene().AddPolygonObject(document, 4, 0, 7);
  Select(empty);
  Open();
  EXPECT_EQ(Current(), (Column{"0", "4", "0", "1"}));
  EXPECT_EQ(Editable(), (Column{"0", "4", "0", "1"}));
  for (const testhost::Call& call : host().CallsTo(entry::NgonCount))
    EXPECT_NE(call.Ptr<void>(0), static_cast<void*>(empty));
  EXPECT_EQ(host().CountCalls(entry::NgonCount), 0u);
  // Without children, points alone still make the editable copy an object.
  Choose(tool::kIncludeChildren);
  EXPECT_EQ(Editable(), (Column{"0", "4", "0", "1"}));
}

TEST_F(StatlumeTest, FailingCommandsClearEverything) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 8, 6, 0, group);
  Select(group);
  scene().FailCommand(testhost::kCommandJoin);
  Open();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "0"}));
  EXPECT_EQ(Editable(), (Column{"0", "0", "0", "0"}));
  EXPECT_EQ(scene().FreedCopies(), 1u);  // the editable copy was freed
  scene().FailCommand(testhost::kCommandMakeEditable);
  SceneChanged();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "0"}));
}

TEST_F(StatlumeTest, EmptyResultClearsEverything) {
  Select(scene().AddPolygonObject(document, 8, 6));
  scene().EmptyResult(testhost::kCommandMakeEditable);
  Open();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "0"}));
}

TEST_F(StatlumeTest, HostThatKeepsTheFirstResultListInPlace) {
  scene().SetListPolicy(testhost::Scene::ListPolicy::kAppend);
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 8, 6, 0, group);
  scene().AddPolygonObject(document, 8, 6, 0, group);
  Select(group);
  Open();
  // The merged object, not the group's editable copy, gives the Editable geometry.
  EXPECT_EQ(Editable(), (Column{"12", "16", "0", "2"}));
  EXPECT_EQ(scene().FreedCopies(), 2u);
}

// Every count reaches its field as the text the host's AppendInt made of it: the
// count widened to 64 bits, integer size 8, no format, in the order of the fields.
TEST_F(StatlumeTest, CountsReachTheFieldsAsTheHostsDecimalText) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  scene().AddPolygonObject(document, 8, 6, 1, group);
  scene().AddPolygonObject(document, 5, 3, 2, group);
  Select(group);
  Open();
  const auto calls = host().CallsTo(testhost::MethodId{"net.hostapp.stringconversion", "AppendInt"});
  std::vector<std::int64_t> values;
  for (const testhost::Call& call : calls) {
    values.push_back(call.Int(1));
    EXPECT_EQ(call.Int(2), 8);
    EXPECT_EQ(call.Ptr<void>(3), nullptr);
  }
  // Fields 1001, 1002, 1003, 1004, 1007, 1008, 1005, 1006.
  EXPECT_EQ(values, (std::vector<std::int64_t>{9, 9, 13, 13, 3, 3, 2, 3}));
  EXPECT_EQ(Current(), (Column{"9", "13", "3", "3"}));
  // A conversion that appends nothing leaves the fields empty: no text is made any
  // other way.
  kernel().FailStringConversion(true);
  SceneChanged();
  EXPECT_EQ(Current(), (Column{"", "", "", ""}));
  EXPECT_EQ(Editable(), (Column{"", "", "", ""}));
}

TEST_F(StatlumeTest, SumsBeyondInt32ShowTheirTrueTotal) {
  SceneObject* group = scene().Add(document, ObjectKind::Null);
  for (int i = 0; i < 3; ++i) scene().AddPolygonObject(document, 2000000000, 1000000000, 0, group);
  Select(group);
  Open();
  EXPECT_EQ(Current(), (Column{"3000000000", "6000000000", "0", "4"}));
}

TEST_F(StatlumeTest, PauseGreysTheCountsButNotTheHeadings) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  Select(mesh);
  Open();
  host().ClearCalls();
  Choose(tool::kPause);
  EXPECT_TRUE(Checked(tool::kPause));
  std::vector<std::int64_t> greyed;
  for (const testhost::Call& call : host().CallsTo(entry::DialogEnable)) {
    greyed.push_back(call.Int(1));
    EXPECT_EQ(call.Int(2), 0);
  }
  EXPECT_EQ(greyed, (std::vector<std::int64_t>{1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 4001, 4002, 4003, 4004}));
  for (const testhost::LayoutItem* label : window().Labels())
    EXPECT_EQ(window().elements[label->id].enabled, label->id == tool::kGrid) << label->id;

  // Scene changes while paused leave the values; no object at all clears them.
  mesh->polygons = 60;
  SceneChanged();
  EXPECT_EQ(Current(), (Column{"6", "8", "0", "1"}));
  Select(nullptr);
  SceneChanged();
  EXPECT_EQ(Current(), (Column{"0", "0", "0", "0"}));

  Select(mesh);
  Choose(tool::kPause);  // running again: enabled and counted at once
  EXPECT_FALSE(Checked(tool::kPause));
  EXPECT_TRUE(window().elements[tool::kLabelNgons].enabled);
  EXPECT_EQ(Current(), (Column{"60", "8", "0", "1"}));
}

TEST_F(StatlumeTest, OnlyTheSceneChangeMessageRecounts) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  Select(mesh);
  Open();
  mesh->polygons = 10;
  const std::size_t commands = scene().CommandsRun();
  SceneChanged(605);
  SceneChanged(0);
  EXPECT_EQ(scene().CommandsRun(), commands);
  EXPECT_EQ(Current().polygons, "6");
  SceneChanged();
  EXPECT_EQ(Current().polygons, "10");
}

TEST_F(StatlumeTest, ReopeningStartsFromTheDefaults) {
  Select(scene().AddPolygonObject(document, 8, 6));
  Open();
  Choose(tool::kIncludeChildren);
  Choose(tool::kIncludeNonPoly);
  Choose(tool::kPause);
  ASSERT_TRUE(dialog->CloseWindow());
  EXPECT_EQ(host().CountCalls(entry::DialogRelease), 0u);  // the window object stays
  Open();
  EXPECT_TRUE(Checked(tool::kIncludeChildren));
  EXPECT_FALSE(Checked(tool::kIncludeNonPoly));
  EXPECT_FALSE(Checked(tool::kPause));
  EXPECT_TRUE(dialog->IncludeChildren());
  EXPECT_FALSE(dialog->Paused());
  EXPECT_EQ(Current(), (Column{"6", "8", "0", "1"}));
}

TEST_F(StatlumeTest, ClosedDialogCountsNothing) {
  SceneObject* mesh = scene().AddPolygonObject(document, 8, 6);
  dialog->UpdateCounts(reinterpret_cast<BaseDocument*>(document), reinterpret_cast<BaseObject*>(mesh));
  EXPECT_EQ(scene().CommandsRun(), 0u);
  EXPECT_EQ(host().CountCalls(entry::SendElementMessage), 0u);
}

namespace {
std::int64_t WalkLength(BaseObject* root) {
  std::int64_t count = 0;
  for (BaseObject* current = root; current != nullptr; current = NextInSubtree(current, root)) ++count;
  return count;
}
BaseObject* Obj(SceneObject* object) { return reinterpret_cast<BaseObject*>(object); }
}  // namespace

TEST_F(StatlumeTest, WalkStaysInsideTheSubtree) {
  SceneObject* before = scene().Add(document, ObjectKind::Null);
  SceneObject* root = scene().Add(document, ObjectKind::Null, before);
  SceneObject* a = scene().Add(document, ObjectKind::Null, root);
  scene().Add(document, ObjectKind::Null, a);
  scene().Add(document, ObjectKind::Null, root);
  scene().Add(document, ObjectKind::Null, before);  // the root's next sibling
  scene().Add(document, ObjectKind::Null);          // and a later top-level object
  EXPECT_EQ(WalkLength(Obj(root)), 4);
  EXPECT_EQ(WalkLength(Obj(before)), 6);
  EXPECT_EQ(NextInSubtree(nullptr, Obj(root)), nullptr);
}

TEST_F(StatlumeTest, DeepAndWideHierarchiesWalkLinearly) {
  SceneObject* deep = scene().Add(document, ObjectKind::Null);
  SceneObject* parent = deep;
  for (int i = 0; i < 20000; ++i) parent = scene().Add(document, ObjectKind::Null, parent);
  SceneObject* wide = scene().Add(document, ObjectKind::Null);
  for (int i = 0; i < 20000; ++i) scene().Add(document, ObjectKind::Null, wide);
  host().ClearCalls();
  EXPECT_EQ(WalkLength(Obj(deep)), 20001);
  // Each object is entered once and left once: a bounded number of host calls each.
  EXPECT_LT(host().Calls().size(), 20001u * 4);
  EXPECT_EQ(WalkLength(Obj(wide)), 20001);
}
