#pragma once
// User areas drawn by the plug-in inside a dialog, and the base of custom GUI
// elements the host embeds in other windows.
#include "host_gui.h"

// Entries of the user-area sub-table.
inline constexpr HostOp<&t_HostOS_Cu, 0, void(UserAreaHandle)> UserAreaRelease{};
inline constexpr HostOp<&t_HostOS_Cu, 8, void*(UserAreaHandle)> UserAreaUserData{};
inline constexpr HostOp<&t_HostOS_Cu, 16, int32_t(UserAreaHandle)> UserAreaWidth{};
inline constexpr HostOp<&t_HostOS_Cu, 24, int32_t(UserAreaHandle)> UserAreaHeight{};
inline constexpr HostOp<&t_HostOS_Cu, 32, int32_t(UserAreaHandle)> UserAreaElementId{};
inline constexpr HostOp<&t_HostOS_Cu, 40, void(UserAreaHandle, int32_t, int32_t)> UserAreaSetMinSize{};
inline constexpr HostOp<&t_HostOS_Cu, 56, void(UserAreaHandle, int32_t, int32_t, int32_t, int32_t)> UserAreaFillRect{};
inline constexpr HostOp<&t_HostOS_Cu, 72, void(UserAreaHandle, int32_t)> UserAreaSetPen{};

// USERAREAFLAGS of the host.
enum USERAREAFLAGS : int32_t {
  USERAREA_NONE = 0,
  USERAREA_TABSTOP = 1,
  USERAREA_HANDLEFOCUS = 2,
  USERAREA_COREMESSAGE = 4,
  USERAREA_SYNCMESSAGE = 8,
  USERAREA_DONT_MIRROR = 0x40000000,
};

inline constexpr int32_t kDefaultAreaColour = 1000;

class GeUserArea : public core::FrameworkAllocated {
 public:
  GeUserArea() = default;
  virtual ~GeUserArea();

  // Operations the host drives, in this fixed order.
  virtual bool InitArea();
  virtual bool FillAreaValues();
  virtual bool QueryMinSize(int32_t& width, int32_t& height);
  virtual void OnResized(int32_t width, int32_t height);
  virtual void PaintArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  virtual void PaintFromMessage(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                const GeContainer& message);
  virtual bool OnInputEvent(const GeContainer& message);
  virtual bool OnAreaCoreEvent(int32_t id, const GeContainer& message);
  virtual void OnAreaTimer(const GeContainer& message);
  virtual int32_t HandleAreaMessage(const GeContainer& message, GeContainer& result);

  // Asks the host to draw the area again, threaded or through a draw message.
  void Redraw(bool threaded);

  UserAreaHandle AreaHandle() const { return handle; }
  GeDialog* Dialog() const { return dialog; }

 private:
  friend class GeDialog;
  UserAreaHandle handle = nullptr;
  GeDialog* dialog = nullptr;
};

// Result of the sixteenth custom-GUI operation: an Int32 and a host typed value.
struct CustomGuiValue {
  int32_t id;
  GeValue value;
};

class iCustomGui : public GeDialog {
 public:
  iCustomGui(const GeContainer& settings, const void* creationData);

  int32_t HandleMessage(const GeContainer& message, GeContainer& result) override;

  // Further operations, in this fixed order after those of GeDialog. The plug-in
  // calls none of them, but the host calls each through its slot in the table of
  // virtual operations: none may go, or the ones after it would move.
  virtual intptr_t CustomOperation9();
  virtual intptr_t CustomOperation10();
  virtual void CustomOperation11();
  virtual bool CustomOperation12();
  virtual bool CustomOperation13();
  virtual bool CustomOperation14();
  virtual bool CustomOperation15();
  virtual CustomGuiValue CustomOperation16();
  virtual bool SupportsLayoutMode();
  virtual void OnLayoutModeChanged();
  virtual void SetLayoutMode(int32_t mode);
  virtual int32_t GetLayoutMode();

  int32_t DefaultHeight() const { return defh; }

 protected:
  bool closeArmed = true;
  int32_t layoutMode = 0;
  int32_t defh = 10;
  const void* creationData = nullptr;
};
