#include "statlume_help.h"

#include "Statlume.h"
#include "host_resource.h"
#include "host_scene.h"

void ShowAbout() {
  const core::String& text = LoadResourceString(IDS_ABOUT_TEXT);
  ShowMessageBox(text.Slot(), GEMB_ICONEXCLAMATION | GEMB_OK);
}

void HelpFolder::Open() {
  {
    const HostPath name(kHelpFileName);
    const HostPath folder = PluginFolder();
    const HostPath joined(folder, name);
    path_.Assign(joined);
  }
  core::String text;
  path_.ToString(text.Slot());
  const HostPath file(static_cast<const StringSlot*>(text.Slot()));
  OpenFileWithSystem(file.slot());
}
