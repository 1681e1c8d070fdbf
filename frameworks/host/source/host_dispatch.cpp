// The host's single entry into every window: a message for a user area goes to
// the area's object, any other to the window's dialog. Kept apart from both bridges,
// which it joins, so that neither needs the other.
#include "host_gui.h"
#include "host_userarea.h"

int32_t DialogDispatch(DialogHandle window, UserAreaHandle area, const GeContainer* message) {
  if (message == nullptr) return 0;  // nothing to dispatch
  LocalContainer result(-1);
  int32_t answer = 0;
  bool handled = false;
  if (area != nullptr) {
    if (auto* userArea = static_cast<GeUserArea*>(UserAreaUserData(area))) {
      answer = userArea->HandleAreaMessage(*message, *result.get());
      handled = true;
    }
  } else if (window == nullptr) {
    return 0;  // no window to find a dialog for
  } else if (auto* dialog = static_cast<GeDialog*>(DialogUserData(window))) {
    answer = dialog->HandleMessage(*message, *result.get());
    handled = true;
  }
  // A result goes back only from a container the host made and a handler changed.
  if (handled && window != nullptr && result.Constructed() && result.Id() != -1)
    DialogDeliverResult(window, result.get());
  return answer;
}
