#pragma once
// The Help menu: the about box and the PDF manual beside the library.
#include "host_path.h"

inline constexpr char kHelpFileName[] = "Statlume.pdf";

// Shows resource string 10001 in a message box with the exclamation icon.
void ShowAbout();

// The path value a dialog action may open the help file through; made empty at the
// start of every action and destroyed at its end.
class HelpFolder {
 public:
  // Opens "Statlume.pdf" in the plug-in folder with the system's application.
  void Open();

 private:
  HostPath path_;
};
