// Counting the active object's polygons, points, n-gons and objects.
#include "Statlume.h"
#include "frameworkstring.h"
#include "object.h"

namespace {

// The value fields in the order they are written.
struct Field {
  int32_t id;
  int64_t ObjectCounts::*count;
};
constexpr Field kFields[] = {
    {IDC_POLYGONS_EDITABLE, &ObjectCounts::polygonsEditable}, {IDC_POLYGONS_CURRENT, &ObjectCounts::polygonsCurrent},
    {IDC_POINTS_EDITABLE, &ObjectCounts::pointsEditable},     {IDC_POINTS_CURRENT, &ObjectCounts::pointsCurrent},
    {IDC_NGONS_EDITABLE, &ObjectCounts::ngonsEditable},       {IDC_NGONS_CURRENT, &ObjectCounts::ngonsCurrent},
    {IDC_OBJECTS_EDITABLE, &ObjectCounts::objectsEditable},   {IDC_OBJECTS_CURRENT, &ObjectCounts::objectsCurrent},
};

// Plain decimal digits of a count, made by the host's string conversion.
core::String CountText(int64_t value) {
  static constexpr core::SourceLocation kCountText{__FILE__, __LINE__, 0};
  core::String text;
  if (core::ErrorRef error = text.MakeWritable(kCountText)) {
    core::ReleaseError(error);
    return text;
  }
  core::ReleaseError(core::Method<iface::StringConversion, iface::StringConversion::AppendInt>(
      *text.Slot(), value, 8, nullptr));
  return text;
}

// Runs a modeling command with a record of its own and takes the first result.
// The result list is released at once; the object taken out belongs to the caller.
BaseObject* FirstResultOf(int32_t command, BaseDocument* document, BaseObject* object) {
  ModelingCommandRecord record{};
  record.document = document;
  record.object = object;
  BaseObject* result = nullptr;
  if (RunModelingCommand(command, &record)) result = ResultListAt(record.result, 0);
  FreeResultList(&record.result);
  return result;
}

// Whether an object of the converted hierarchy counts towards the Objects row.
bool CountsAsObject(BaseObject* object, bool includeNonPolyPoint) {
  return TagElementCount(object, kTagPolygons) != 0 || IsInstanceOfType(object, kTypePolygonObject) ||
         includeNonPolyPoint || TagElementCount(object, kTagPoints) != 0 ||
         IsInstanceOfType(object, kTypePointObject) || (ObjectInfoFlags(object) & kInfoGeometry) != 0;
}

}  // namespace

BaseObject* NextInSubtree(BaseObject* current, BaseObject* root) {
  if (current == nullptr) return nullptr;
  if (BaseObject* child = FirstChild(current)) return child;
  if (current == root) return nullptr;  // a childless root ends the walk, siblings or not
  if (BaseObject* sibling = NextSibling(current)) return sibling;
  // Climb to the nearest ancestor that has a next sibling, never above the root.
  BaseObject* sibling = nullptr;
  while (BaseObject* parent = ParentOf(current)) {
    if (current == root) return nullptr;
    current = parent;
    sibling = NextSibling(current);
    if (sibling != nullptr) break;
  }
  return current == root ? nullptr : sibling;
}

void StatlumeDialog::CountCurrent(BaseObject* object, ObjectCounts& counts) {
  for (BaseObject* current = object; current != nullptr;
       current = includeChildren ? NextInSubtree(current, object) : nullptr) {
    const int32_t polygons = TagElementCount(current, kTagPolygons);
    counts.polygonsCurrent += polygons;
    if (polygons > 0) counts.ngonsCurrent += NgonCount(current);
    counts.pointsCurrent += TagElementCount(current, kTagPoints);
    counts.objectsCurrent += 1;  // every object counts, whatever its kind
  }
}

// The Editable column, from the objects the commands return: E, the editable form,
// and with children M, the merged form. False when a command gave nothing usable.
bool StatlumeDialog::CountEditable(BaseDocument* document, BaseObject* object, ObjectCounts& counts,
                                   CommandResults& results) {
  results.editable = FirstResultOf(kCommandMakeEditable, document, object);
  if (results.editable == nullptr) return false;
  BaseObject* geometry = results.editable;
  if (includeChildren) {
    for (BaseObject* current = results.editable; current != nullptr;
         current = NextInSubtree(current, results.editable))
      if (CountsAsObject(current, includeNonPolyPoint)) counts.objectsEditable += 1;
    results.merged = FirstResultOf(kCommandJoin, document, results.editable);
    if (results.merged == nullptr) return false;
    geometry = results.merged;
  }
  const int32_t polygons = TagElementCount(geometry, kTagPolygons);
  const int32_t points = TagElementCount(geometry, kTagPoints);
  counts.polygonsEditable = polygons;
  if (polygons > 0) counts.ngonsEditable = NgonCount(geometry);
  counts.pointsEditable = points;
  if (!includeChildren) counts.objectsEditable = polygons > 0 || points > 0 ? 1 : 0;
  return true;
}

void StatlumeDialog::UpdateCounts(BaseDocument* document, BaseObject* object) {
  if (document == nullptr || object == nullptr || paused) return;
  if (!IsWindowOpen()) return;
  ObjectCounts counts;
  CountCurrent(object, counts);
  CommandResults results;
  if (CountEditable(document, object, counts, results))
    ShowCounts(counts);
  else
    ClearCounts();
  // Each object a command returned is freed exactly once, whatever happened.
  if (results.merged != nullptr) FreeObject(results.merged);
  if (results.editable != nullptr) FreeObject(results.editable);
}

void StatlumeDialog::ShowCounts(const ObjectCounts& counts) {
  for (const Field& field : kFields)
    SetElementText(ElementRef{field.id, nullptr}, CountText(counts.*field.count), 0, 0);
}

void StatlumeDialog::ClearCounts() {
  const core::String zero("0");
  for (const Field& field : kFields) SetElementText(ElementRef{field.id, nullptr}, zero, 0, 0);
}
