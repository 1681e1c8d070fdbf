#pragma once
// The statistics tool: its dialog and the counting behind it.
#include <stdint.h>

#include "host_gui.h"
#include "host_scene.h"

// Identifiers of the tool.
inline constexpr int32_t ID_STATLUME_COMMAND = 1040438;
inline constexpr int32_t IDS_COMMAND_NAME = 10000;
inline constexpr int32_t IDS_ABOUT_TEXT = 10001;
inline constexpr int32_t IDS_COMMAND_HELP = 10002;

inline constexpr int32_t IDM_INCLUDE_CHILDREN = 5001;
inline constexpr int32_t IDM_PAUSE = 5002;
inline constexpr int32_t IDM_INCLUDE_NONPOLY = 5003;
inline constexpr int32_t IDM_ABOUT = 5004;
inline constexpr int32_t IDM_HELP_FILE = 5005;
inline constexpr int32_t IDC_GRID = 5006;
inline constexpr int32_t IDC_LABEL_POLYGONS = 4001;
inline constexpr int32_t IDC_LABEL_POINTS = 4002;
inline constexpr int32_t IDC_LABEL_OBJECTS = 4003;
inline constexpr int32_t IDC_LABEL_NGONS = 4004;
inline constexpr int32_t IDC_POLYGONS_EDITABLE = 1001;
inline constexpr int32_t IDC_POLYGONS_CURRENT = 1002;
inline constexpr int32_t IDC_POINTS_EDITABLE = 1003;
inline constexpr int32_t IDC_POINTS_CURRENT = 1004;
inline constexpr int32_t IDC_OBJECTS_EDITABLE = 1005;
inline constexpr int32_t IDC_OBJECTS_CURRENT = 1006;
inline constexpr int32_t IDC_NGONS_EDITABLE = 1007;
inline constexpr int32_t IDC_NGONS_CURRENT = 1008;

// The host's core message sent when the scene changes.
inline constexpr int32_t kSceneChanged = 604;

// The eight counts of one update. Sums are kept in 64 bits so that large scenes
// show their true totals.
struct ObjectCounts {
  int64_t polygonsCurrent = 0, polygonsEditable = 0;
  int64_t pointsCurrent = 0, pointsEditable = 0;
  int64_t ngonsCurrent = 0, ngonsEditable = 0;
  int64_t objectsCurrent = 0, objectsEditable = 0;
};

// One step of a depth-first, pre-order walk that never leaves the subtree of `root`.
BaseObject* NextInSubtree(BaseObject* current, BaseObject* root);

class StatlumeDialog : public GeDialog {
 public:
  bool BuildLayout() override;
  bool FillValues() override;
  bool OnCoreEvent(int32_t id, const GeContainer& message) override;
  bool OnAction(int32_t id, const GeContainer& message) override;
  int32_t HandleMessage(const GeContainer& message, GeContainer& result) override;

  // Counts the object (and, with children, its subtree) and shows the counts.
  void UpdateCounts(BaseDocument* document, BaseObject* object);
  // Shows "0" in every count field.
  void ClearCounts();

  bool IncludeChildren() const { return includeChildren; }
  bool Paused() const { return paused; }
  bool IncludeNonPolyPoint() const { return includeNonPolyPoint; }

 private:
  // Objects the modeling commands returned; the update frees them.
  struct CommandResults {
    BaseObject* editable = nullptr;
    BaseObject* merged = nullptr;
  };
  void CountCurrent(BaseObject* object, ObjectCounts& counts);
  bool CountEditable(BaseDocument* document, BaseObject* object, ObjectCounts& counts,
                     CommandResults& results);
  void ShowCounts(const ObjectCounts& counts);
  void SetPaused(bool pause);

  bool includeChildren = false;
  bool paused = false;
  bool includeNonPolyPoint = false;
};
