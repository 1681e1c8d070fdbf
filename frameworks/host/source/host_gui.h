#pragma once
// The dialog bridge: dialog objects paired with host window objects, the single
// dispatch routine through which the host drives them, and their member operations.
#include <stdint.h>

#include "frameworkstring.h"
#include "host_container.h"
#include "memory.h"
#include "messagecodes.h"
#include "operatingsystem.h"

struct DialogObject;
struct UserAreaObject;
using DialogHandle = DialogObject*;
using UserAreaHandle = UserAreaObject*;
class GeUserArea;

// Window kinds (DLG_TYPE) and opening flags (OPENDIALOGFLAGS) of the host.
enum class DLG_TYPE : int32_t {
  MODAL = 10, MODAL_RESIZEABLE = 11, MODAL_POPUPEDIT = 12, ASYNC = 20,
  ASYNC_POPUP_RESIZEABLE = 21, ASYNC_POPUPEDIT = 22, ASYNC_TOOLBAR = 23,
  ASYNC_FULLSCREEN_WORK = 30, ASYNC_FULLSCREEN_MONITOR = 31, DUMMY = 32,
};
enum class OPENDIALOGFLAGS : int32_t {
  NONE = 0, IGNORELAYOUT = 1, CLIENTCOORDINATES = 2, ALIGNTOPLEFTATMOUSE = 4,
};
// Range tests of the modal dialog's value checks.
enum class CHECKVALUERANGE : int32_t {
  GREATER = 0, GREATEROREQUAL = 1, LESS = 2, LESSOREQUAL = 3, BETWEEN = 4,
  BETWEENOREQUAL = 5, BETWEENOREQUALX = 6, BETWEENOREQUALY = 7, DIFFERENT = 8,
};
enum class CHECKVALUEFORMAT : int32_t { NOTHING = 0, DEGREE = 1, PERCENT = 2, METER = 3, INT = 5 };

using DialogDispatchFunction = int32_t (*)(DialogHandle, UserAreaHandle, const GeContainer*);

// Entries of the dialog sub-table.
inline constexpr HostOp<&t_HostOS_Cd, 0, DialogHandle(DialogDispatchFunction, void*)> DialogCreate{};
inline constexpr HostOp<&t_HostOS_Cd, 8, void(DialogHandle)> DialogRelease{};
inline constexpr HostOp<&t_HostOS_Cd, 16, void*(DialogHandle)> DialogUserData{};
inline constexpr HostOp<&t_HostOS_Cd, 24, bool(DialogHandle)> DialogClose{};
inline constexpr HostOp<&t_HostOS_Cd, 32, bool(DialogHandle, int32_t, bool, void*)> DialogEnableElement{};
inline constexpr HostOp<&t_HostOS_Cd, 40, void(DialogHandle, int32_t)> DialogSetTimer{};
inline constexpr HostOp<&t_HostOS_Cd, 160, bool(DialogHandle, int32_t, int32_t, int32_t, int32_t)> DialogGroupPadding{};
inline constexpr HostOp<&t_HostOS_Cd, 168, bool(DialogHandle)> DialogEndGroup{};
inline constexpr HostOp<&t_HostOS_Cd, 208, void(DialogHandle, int32_t)> DialogRedrawArea{};
inline constexpr HostOp<&t_HostOS_Cd, 224, bool(DialogHandle, void*)> DialogRestore{};
inline constexpr HostOp<&t_HostOS_Cd, 232, void(DialogHandle, GeContainer*)> DialogDeliverResult{};
inline constexpr HostOp<&t_HostOS_Cd, 256, int32_t(DialogHandle)> DialogCustomGuiElementId{};
// ElementOperation answers a register-wide word; for the codes used here a bool.
inline constexpr HostOp<&t_HostOS_Cd, 272,
                        uintptr_t(DialogHandle, int32_t code, int32_t id, const StringSlot* text,
                                      int32_t a, int32_t b, int32_t c, int32_t d,
                                      void* pointer, void** out)>
    ElementOperation{};
inline constexpr HostOp<&t_HostOS_Cd, 280, void(DialogHandle)> DialogCustomGuiDestroyed{};
inline constexpr HostOp<&t_HostOS_Cd, 288, bool(DialogHandle, GeContainer*, void*)> DialogCustomGuiMessage{};
inline constexpr HostOp<&t_HostOS_Cd, 304,
                        UserAreaHandle(DialogHandle, int32_t, GeUserArea*, int32_t, void*)>
    DialogCreateUserArea{};
inline constexpr HostOp<&t_HostOS_Cd, 400,
                        GeValue*(GeValue*, DialogHandle, int32_t, const GeContainer*, void*)>
    SendElementMessage{};
inline constexpr HostOp<&t_HostOS_Cd, 464,
                        bool(DialogHandle, int32_t id, int32_t flags, int32_t columns,
                             int32_t rows, const StringSlot* title, int32_t groupFlags,
                             int32_t width, int32_t height)>
    DialogBeginGroup{};
inline constexpr HostOp<&t_HostOS_Cd, 488,
                        bool(DialogHandle, int32_t type, void* parent, int32_t x, int32_t y,
                             int32_t width, int32_t height, int32_t flags)>
    DialogOpen{};
// General-table entries the bridge calls.
inline constexpr HostOp<&t_HostOS_Ge, 184, void(int32_t, int32_t, int32_t)> HostInteraction{};
inline constexpr HostOp<&t_HostOS_Ge, 272, void(int32_t, double, double, int32_t)> HostRangeMessage{};

// Element operation codes.
enum ElementOperationCode : int32_t {
  kOpAddLabel = 3,
  kOpSetWindowTitle = 20,
  kOpSetPluginId = 24,
  kOpMarkRangeFailure = 26,
  kOpMenuBeginSubmenu = 27,
  kOpMenuEndSubmenu = 28,
  kOpMenuClear = 30,
  kOpCloseCheck = 32,
  kOpMenuCommit = 35,
  kOpMenuAddItem = 38,
  kOpMenuSetItemState = 43,
  kOpIsWindowOpen = 52,
};

// One element of a dialog: its id and, for custom GUI elements, the GUI object.
struct ElementRef {
  int32_t id;
  void* customGui = nullptr;
};

// The host's single entry into every dialog and user area.
int32_t DialogDispatch(DialogHandle window, UserAreaHandle area, const GeContainer* message);

class GeDialog : public core::FrameworkAllocated {
 public:
  GeDialog();
  virtual ~GeDialog();

  // Operations the host drives, in this fixed order; derived dialogs override them.
  virtual bool BuildLayout();
  virtual bool FillValues();
  virtual bool OnCoreEvent(int32_t id, const GeContainer& message);
  virtual bool OnAction(int32_t id, const GeContainer& message);
  virtual bool QueryClose();
  virtual void OnTimerTick(const GeContainer& message);
  virtual void OnWindowDestroyed();
  virtual int32_t HandleMessage(const GeContainer& message, GeContainer& result);

  bool OpenWindow(DLG_TYPE type, int32_t pluginId, int32_t x, int32_t y, int32_t width,
                  int32_t height, int32_t subId, OPENDIALOGFLAGS flags);
  bool RestoreWindow(int32_t pluginId, int32_t subId, void* layoutToken);
  bool IsWindowOpen();
  bool CloseWindow();
  void SetTimerInterval(int32_t interval);
  void SetWindowTitle(const core::String& title);
  bool MenuClear();
  bool MenuBeginSubmenu(const core::String& title);
  bool MenuAddItem(int32_t commandId, const core::String& text);
  bool MenuEndSubmenu();
  bool MenuCommit();
  bool MenuSetItemState(int32_t commandId, bool enabled, bool checked);
  bool BeginGroup(int32_t id, int32_t layoutFlags, int32_t columns, int32_t rows,
                  const core::String& title, int32_t groupFlags, int32_t width, int32_t height);
  bool SetGroupPadding(int32_t left, int32_t top, int32_t right, int32_t bottom);
  bool EndGroup();
  void* AddLabel(int32_t id, int32_t layoutFlags, int32_t width, int32_t height,
                 const core::String& text, int32_t borderStyle);
  bool EnableElement(const ElementRef& element, bool enabled);
  bool SetElementText(const ElementRef& element, const core::String& text, int32_t tristate,
                      int32_t flags);
  bool AttachUserArea(GeUserArea& area, const ElementRef& element, int32_t flags);

  DialogHandle WindowHandle() const { return handle; }
  bool IsHidden() const { return hidden; }
  bool IsLayoutBuilt() const { return layoutBuilt; }

 protected:
  bool Operation(int32_t code, int32_t id, const core::String* text = nullptr, int32_t a = 0,
                 int32_t b = 0, int32_t c = 0, int32_t d = 0, void** out = nullptr);
  // The base handling of every message, also for derived dialogs.
  int32_t BaseHandleMessage(const GeContainer& message, GeContainer& result) {
    return GeDialog::HandleMessage(message, result);
  }
  // The close query of sub-dialogs and custom GUIs: askc and chkc with the armed flag.
  bool HandleCloseMessages(int32_t id, bool& closeArmed, int32_t& answer);

  DialogHandle handle = nullptr;
  bool hidden = false;
  bool layoutBuilt = false;
};

class GeModalDialog : public GeDialog {
 public:
  GeModalDialog();
  int32_t HandleMessage(const GeContainer& message, GeContainer& result) override;

  bool OpenModal(int32_t x, int32_t y, int32_t width, int32_t height, bool resizeable,
                 OPENDIALOGFLAGS flags);
  bool CloseModal(bool accepted);
  void CheckIntRange(int32_t element, CHECKVALUERANGE type, int32_t value, int32_t x,
                     int32_t y);
  void CheckFloatRange(int32_t element, CHECKVALUERANGE type, double value, double x, double y,
                       CHECKVALUEFORMAT format);
  void CheckMeterRange(int32_t element, CHECKVALUERANGE type, double value, double x, double y) {
    CheckFloatRange(element, type, value, x, y, CHECKVALUEFORMAT::METER);
  }
  void CheckPercentRange(int32_t element, CHECKVALUERANGE type, double value, double x, double y) {
    CheckFloatRange(element, type, value, x, y, CHECKVALUEFORMAT::PERCENT);
  }
  void CheckDegreeRange(int32_t element, CHECKVALUERANGE type, double value, double x, double y) {
    CheckFloatRange(element, type, value, x, y, CHECKVALUEFORMAT::DEGREE);
  }

  bool Result() const { return result; }
  bool ValuesValid() const { return valuesValid; }

 protected:
  bool result = false;
  bool valuesValid = true;

 private:
  void ReportRangeFailure(int32_t element, CHECKVALUERANGE type, double x, double y,
                          CHECKVALUEFORMAT format);
};

class SubDialog : public GeDialog {
 public:
  SubDialog();
  int32_t HandleMessage(const GeContainer& message, GeContainer& result) override;

 protected:
  bool closeArmed = true;
};

// Whether `value` passes the range test `type` with bounds x and y.
template <typename T>
bool InRange(CHECKVALUERANGE type, T value, T x, T y);
