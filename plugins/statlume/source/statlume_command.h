#pragma once
// The "Statlume" command: opens the statistics dialog.
#include "Statlume.h"
#include "host_baseobject.h"

inline constexpr char kIconFileName[] = "statlume.tif";

class StatlumeDialogCommand : public CommandData {
 public:
  bool Run(BaseDocument* document, void* hostArgument) override;
  int32_t QueryState(BaseDocument* document, void* hostArgument) override;
  bool RestoreFromLayout(void* layoutToken) override;

  StatlumeDialog& Dialog() { return dialog; }

 private:
  StatlumeDialog dialog;  // lives exactly as long as the command
};

// Registers the "Statlume" command with the host; called once at plug-in start.
bool RegisterStatlumeCommand();
