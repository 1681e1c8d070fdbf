#include "statlume_command.h"


#include "host_resource.h"

bool StatlumeDialogCommand::Run(BaseDocument*, void*) {
  if (!dialog.IsWindowOpen())
    dialog.OpenWindow(DLG_TYPE::ASYNC, ID_STATLUME_COMMAND, -1, -1, 0, 0, 0, OPENDIALOGFLAGS::NONE);
  return true;
}

int32_t StatlumeDialogCommand::QueryState(BaseDocument*, void*) { return kCommandStateDefault; }

bool StatlumeDialogCommand::RestoreFromLayout(void* layoutToken) {
  return dialog.RestoreWindow(ID_STATLUME_COMMAND, 0, layoutToken);
}

namespace {

// The command object, in framework memory cleared to zero before it is built.
StatlumeDialogCommand* NewCommand() {
  static constexpr core::SourceLocation kCommand{"Statlume", __LINE__, 0};
  void* block = core::FrameworkAlloc(sizeof(StatlumeDialogCommand), kCommand);
  if (block == nullptr) return nullptr;
  __builtin_memset(block, 0, sizeof(StatlumeDialogCommand));
  return ::new (core::At(block)) StatlumeDialogCommand();
}

}  // namespace

bool RegisterStatlumeCommand() {
  StatlumeDialogCommand* command = NewCommand();
  const core::String& help = LoadResourceString(IDS_COMMAND_HELP);
  const core::String iconName(kIconFileName);  // empty when it cannot be made
  BaseBitmap* icon = nullptr;
  LoadIconBitmap(&icon, iconName, 1.0);
  const core::String& name = LoadResourceString(IDS_COMMAND_NAME);
  const bool registered = RegisterCommand(ID_STATLUME_COMMAND, name, 0, icon, help, command);
  ReleaseBitmap(&icon);  // the host copied what it keeps
  // The command is the host's from the registration call on, also when the host
  // refuses it: the host ends it through the record's destroy routine.
  return registered;
}
