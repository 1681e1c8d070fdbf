// The statistics dialog: layout, option menus and reactions to the host's events.
#include "Statlume.h"
#include "frameworkstring.h"
#include "statlume_help.h"

namespace {

constexpr int32_t kLeftTop = 9;    // at the left edge of the cell, at the top
constexpr int32_t kFillTop = 57;   // filling the cell's width, at the top
constexpr int32_t kLabelWidth = 100;

struct Label {
  int32_t id;
  int32_t flags;
  int32_t width;
  const char* text;
};
// The grid, row by row: label, "Current" column, "Editable" column.
constexpr Label kGrid[] = {
    {IDC_GRID, kLeftTop, kLabelWidth, ""},
    {IDC_GRID, kFillTop, kLabelWidth, "Current"},
    {IDC_GRID, kFillTop, kLabelWidth, "Editable"},
    {IDC_LABEL_POLYGONS, kLeftTop, kLabelWidth, "Polygons"},
    {IDC_POLYGONS_CURRENT, kFillTop, 0, ""},
    {IDC_POLYGONS_EDITABLE, kFillTop, 0, ""},
    {IDC_LABEL_POINTS, kLeftTop, kLabelWidth, "Points"},
    {IDC_POINTS_CURRENT, kFillTop, 0, ""},
    {IDC_POINTS_EDITABLE, kFillTop, 0, ""},
    {IDC_LABEL_NGONS, kLeftTop, kLabelWidth, "N-Gons"},
    {IDC_NGONS_CURRENT, kFillTop, 0, ""},
    {IDC_NGONS_EDITABLE, kFillTop, 0, ""},
    {IDC_LABEL_OBJECTS, kLeftTop, kLabelWidth, "Objects"},
    {IDC_OBJECTS_CURRENT, kFillTop, 0, ""},
    {IDC_OBJECTS_EDITABLE, kFillTop, 0, ""},
};

// The elements a pause greys, 1001 to 1008 then 4001 to 4004; the headings stay enabled.
constexpr int32_t kPausedElements[] = {
    IDC_POLYGONS_EDITABLE, IDC_POLYGONS_CURRENT, IDC_POINTS_EDITABLE, IDC_POINTS_CURRENT,
    IDC_OBJECTS_EDITABLE,  IDC_OBJECTS_CURRENT,  IDC_NGONS_EDITABLE,  IDC_NGONS_CURRENT,
    IDC_LABEL_POLYGONS,    IDC_LABEL_POINTS,     IDC_LABEL_OBJECTS,   IDC_LABEL_NGONS,
};

// The active object of a document; with no document there is none (the host is not
// asked about a null document).
BaseObject* ActiveObjectOf(BaseDocument* document) {
  return document != nullptr ? ActiveObject(document) : nullptr;
}

}  // namespace

bool StatlumeDialog::BuildLayout() {
  GeDialog::BuildLayout();
  SetWindowTitle(core::String("Statlume"));
  MenuClear();
  MenuBeginSubmenu(core::String("Options"));
  MenuAddItem(IDM_INCLUDE_CHILDREN, core::String("Include Child Objects"));
  MenuAddItem(IDM_INCLUDE_NONPOLY, core::String("Include Non-Poly/Point Objects"));
  MenuAddItem(IDM_PAUSE, core::String("Pause"));
  MenuEndSubmenu();
  MenuBeginSubmenu(core::String("Help"));
  MenuAddItem(IDM_ABOUT, core::String("About..."));
  MenuAddItem(IDM_HELP_FILE, core::String("Show Help File (.PDF)..."));
  MenuEndSubmenu();
  MenuCommit();
  BeginGroup(IDC_GRID, kFillTop, 3, 0, core::String(), 0, 0, 0);
  SetGroupPadding(4, 4, 4, 4);
  for (const Label& label : kGrid) AddLabel(label.id, label.flags, label.width, 0, core::String(label.text), 0);
  EndGroup();
  return true;
}

bool StatlumeDialog::FillValues() {
  BaseDocument* document = ActiveDocument();
  BaseObject* object = ActiveObjectOf(document);
  ClearCounts();
  MenuSetItemState(IDM_INCLUDE_CHILDREN, true, true);
  includeChildren = true;
  MenuSetItemState(IDM_INCLUDE_NONPOLY, true, false);
  includeNonPolyPoint = false;
  MenuSetItemState(IDM_PAUSE, true, false);
  paused = false;
  UpdateCounts(document, object);
  return true;
}

bool StatlumeDialog::OnCoreEvent(int32_t id, const GeContainer&) {
  BaseDocument* document = ActiveDocument();
  if (id != kSceneChanged) return true;
  if (BaseObject* object = ActiveObjectOf(document))
    UpdateCounts(document, object);
  else
    ClearCounts();  // also while paused
  return true;
}

void StatlumeDialog::SetPaused(bool pause) {
  paused = pause;
  MenuSetItemState(IDM_PAUSE, true, paused);
  for (int32_t element : kPausedElements) EnableElement(ElementRef{element, nullptr}, !paused);
}

bool StatlumeDialog::OnAction(int32_t id, const GeContainer&) {
  BaseDocument* document = ActiveDocument();
  BaseObject* object = ActiveObjectOf(document);
  HelpFolder help;  // an empty path value for the help item, made for every action
  switch (id) {
    case IDM_INCLUDE_CHILDREN:
      includeChildren = !includeChildren;
      MenuSetItemState(IDM_INCLUDE_CHILDREN, true, includeChildren);
      UpdateCounts(document, object);
      break;
    case IDM_INCLUDE_NONPOLY:
      includeNonPolyPoint = !includeNonPolyPoint;
      MenuSetItemState(IDM_INCLUDE_NONPOLY, true, includeNonPolyPoint);
      UpdateCounts(document, object);
      break;
    case IDM_PAUSE:
      SetPaused(!paused);
      if (!paused) UpdateCounts(document, object);
      break;
    case IDM_ABOUT:
      ShowAbout();
      break;
    case IDM_HELP_FILE:
      help.Open();
      break;
    default:
      break;
  }
  return true;
}

int32_t StatlumeDialog::HandleMessage(const GeContainer& message, GeContainer& result) {
  ContainerGetId(&message);  // read, as the base reads it again
  return GeDialog::HandleMessage(message, result);
}
