#include "host_baseobject.h"


#include "memory.h"
#include "object.h"

bool CommandData::Run(BaseDocument*, void*) { return true; }
bool CommandData::HostOperation2(BaseDocument*, void*) { return false; }
bool CommandData::HostOperation3(BaseDocument*, void*) { return false; }
int32_t CommandData::QueryState(BaseDocument*, void*) { return kCommandStateDefault; }
bool CommandData::HostOperation5(BaseDocument*, void*) { return false; }
bool CommandData::RestoreFromLayout(void*) { return true; }
core::String CommandData::QueryText() { return core::String(); }
bool CommandData::HostOperation8(BaseDocument*, void*) { return true; }

namespace {
// Ends the object's life without releasing its storage.
void RunDestructor(void* object) { static_cast<BaseData*>(object)->~BaseData(); }
}  // namespace

void DestroyDataObject(BaseData* object) {
  if (object == nullptr) return;
  using System = iface::System;
  if (core::IsMethodAvailable<System, System::PrivateFreeWithDestructor>()) {
    core::Method<System, System::PrivateFreeWithDestructor>(object, &RunDestructor);
    return;
  }
  // A host without its free-with-destructor: end the object and give its memory
  // back ourselves, rather than leave both behind.
  RunDestructor(object);
  core::FrameworkFree(object);
}

bool RegisterPluginRecord(PLUGINTYPE type, int32_t id, const core::String& name, void* record,
                          int32_t size) {
  return RegisterPluginRecordEntry(kPluginApiVersion, static_cast<int32_t>(type), id, name.Slot(), record,
                                   size);
}

bool RegisterCommand(int32_t id, const core::String& name, int32_t info, BaseBitmap* icon,
                     const core::String& help, CommandData* data) {
  if (data == nullptr) return false;
  CommandRegistration record;
  __builtin_memset(&record, 0, sizeof(record));
  record.info = info;
  record.destroy.function = &DestroyDataObject;
  record.data = data;
  record.help = &help;
  record.icon = icon;
  record.operation1 = &CommandData::Run;
  record.operation4 = &CommandData::QueryState;
  record.operation6 = &CommandData::RestoreFromLayout;
  record.operation7 = &CommandData::QueryText;
  record.operation5 = &CommandData::HostOperation5;
  record.operation2 = &CommandData::HostOperation2;
  record.operation8 = &CommandData::HostOperation8;
  record.operation3 = &CommandData::HostOperation3;
  return RegisterPluginRecord(PLUGINTYPE::COMMAND, id, name, &record, static_cast<int32_t>(sizeof(record)));
}
