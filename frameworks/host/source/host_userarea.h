#pragma once
// User areas drawn by the plug-in inside a dialog, and the base of custom GUI
// elements the host embeds in other windows.
#include "host_gui.h"

// Entries of the user-area sub-table.
inline constexpr HostOp<&t_HostOS_Cu, 0, void(UserAreaHandle)> UserAreaRelease{};
inline constexpr HostOp<&t_HostOS_Cu, 8, void*(UserAreaHandle)> UserAreaUserData{};
inline constexpr HostOp<&t_HostOS_Cu, 16, std::int32_t(UserAreaHandle)> UserAreaWidth{};
inline constexpr HostOp<&t_HostOS_Cu, 24, std::int32_t(UserAreaHandle)> UserAreaHeight{};
inline constexpr HostOp<&t_HostOS_Cu, 32, std::int32_t(UserAreaHandle)> UserAreaElementId{};
inline constexpr HostOp<&t_HostOS_Cu, 40, void(UserAreaHandle, std::int32_t, std::int32_t)> UserAreaSetMinSize{};
inline constexpr HostOp<&t_HostOS_Cu, 56, void(UserAreaHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t)> UserAreaFillRect{};
inline constexpr HostOp<&t_HostOS_Cu, 72, void(UserAreaHandle, std::int32_t)> UserAreaSetPen{};

// USERAREAFLAGS of the host.
enum USERAREAFLAGS : std::int32_t {
  USERAREA_NONE = 0,
  USERAREA_TABSTOP = 1,
  USERAREA_HANDLEFOCUS = 2,
  USERAREA_COREMESSAGE = 4,
  USERAREA_SYNCMESSAGE = 8,
  USERAREA_DONT_MIRROR = 0x40000000,
};

inline constexpr std::int32_t kDefaultAreaColour = 1000;

class GeUserArea : public core::FrameworkAllocated {
 public:
  GeUserArea() = default;
  virtual ~GeUserArea();

  // Operations the host drives, in this fixed order.
  virtual bool InitArea();
  virtual bool FillAreaValues();
  virtual bool QueryMinSize(std::int32_t& width, std::int32_t& height);
  virtual void OnResized(std::int32_t width, std::int32_t height);
  virtual void PaintArea(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  virtual void PaintFromMessage(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                const GeContainer& message);
  virtual bool OnInputEvent(const GeContainer& message);
  virtual bool OnAreaCoreEvent(std::int32_t id, const GeContainer& message);
  virtual void OnAreaTimer(const GeContainer& message);
  virtual std::int32_t HandleAreaMessage(const GeContainer& message, GeContainer& result);

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
  std::int32_t id;
  GeValue value;
};

class iCustomGui : public GeDialog {
 public:
  iCustomGui(const GeContainer& settings, const void* creationData);

  std::int32_t HandleMessage(const GeContainer& message, GeContainer& result) override;

  // Further operations, in this fixed order after those of GeDialog.
  virtual std::intptr_t CustomOperation9();
  virtual std::intptr_t CustomOperation10();
  virtual void CustomOperation11();
  virtual bool CustomOperation12();
  virtual bool CustomOperation13();
  virtual bool CustomOperation14();
  virtual bool CustomOperation15();
  virtual CustomGuiValue CustomOperation16();
  virtual bool SupportsLayoutMode();
  virtual void OnLayoutModeChanged();
  virtual void SetLayoutMode(std::int32_t mode);
  virtual std::int32_t GetLayoutMode();

  std::int32_t DefaultHeight() const { return defh; }

 protected:
  bool closeArmed = true;
  std::int32_t layoutMode = 0;
  std::int32_t defh = 10;
  const void* creationData = nullptr;
};
