#pragma once
// Plug-in data objects handed to the host, and the registration of commands.
#include <cstddef>
#include <cstdint>

#include "frameworkstring.h"
#include "host_basebitmap.h"
#include "host_scene.h"
#include "memory.h"
#include "operatingsystem.h"

// The host's plug-in kinds.
enum class PLUGINTYPE : std::int32_t {
  ANY = 0, SHADER = 1, MATERIAL = 2, COMMAND = 4, OBJECT = 5, TAG = 6, BITMAPFILTER = 7,
  VIDEOPOST = 8, TOOL = 9, SCENEHOOK = 10, NODE = 11, LIBRARY = 12, BITMAPLOADER = 13,
  BITMAPSAVER = 14, SCENELOADER = 15, SCENESAVER = 16, COREMESSAGE = 17, CUSTOMGUI = 18,
  CUSTOMDATATYPE = 19, RESOURCEDATATYPE = 20, MANAGERINFORMATION = 21, CTRACK = 32,
  FALLOFF = 33, VMAPTRANSFER = 34, PREFS = 35, SNAP = 36, FIELDLAYER = 37, DESCRIPTION = 38,
};

// The plug-in's interface version, passed first to the registration entry.
inline constexpr std::int32_t kPluginApiVersion = 2024000;

// The common base of plug-in data objects.
class BaseData : public core::FrameworkAllocated {
 public:
  virtual ~BaseData() = default;
};

// A command: the host calls these operations, in this fixed order, through member
// pointers kept in the registration record.
class CommandData : public BaseData {
 public:
  virtual bool Run(BaseDocument* document, void* hostArgument);
  virtual bool HostOperation2(BaseDocument* document, void* hostArgument);
  virtual bool HostOperation3(BaseDocument* document, void* hostArgument);
  virtual std::int32_t QueryState(BaseDocument* document, void* hostArgument);
  virtual bool HostOperation5(BaseDocument* document, void* hostArgument);
  virtual bool RestoreFromLayout(void* layoutToken);
  virtual core::String QueryText();
  virtual bool HostOperation8(BaseDocument* document, void* hostArgument);
};

inline constexpr std::int32_t kCommandStateDefault = 0x40000000;

// A plain routine stored in a member-pointer-wide field.
struct DestroyRoutine {
  void (*function)(BaseData* object);
  std::intptr_t adjustment;
};

// The record exchanged with the host's registration entry. Member pointers are the
// compiler's own: two words each here.
struct CommandRegistration {
  using RunOperation = bool (CommandData::*)(BaseDocument*, void*);
  using StateOperation = std::int32_t (CommandData::*)(BaseDocument*, void*);
  using RestoreOperation = bool (CommandData::*)(void*);
  using TextOperation = core::String (CommandData::*)();

  std::int32_t info;
  DestroyRoutine destroy;
  unsigned char reserved0[104];
  CommandData* data;
  unsigned char reserved1[120];
  const core::String* help;
  BaseBitmap* icon;
  RunOperation operation1;
  StateOperation operation4;
  RestoreOperation operation6;
  RunOperation empty;
  TextOperation operation7;
  RunOperation operation5;
  RunOperation operation2;
  RunOperation operation8;
  RunOperation operation3;
  unsigned char reserved2[352];
};
static_assert(sizeof(CommandRegistration::RunOperation) == 16, "member pointers are two words");
static_assert(offsetof(CommandRegistration, info) == 0);
static_assert(offsetof(CommandRegistration, destroy) == 8);
static_assert(offsetof(CommandRegistration, reserved0) == 24);
static_assert(offsetof(CommandRegistration, data) == 128);
static_assert(offsetof(CommandRegistration, reserved1) == 136);
static_assert(offsetof(CommandRegistration, help) == 256);
static_assert(offsetof(CommandRegistration, icon) == 264);
static_assert(offsetof(CommandRegistration, operation1) == 272);
static_assert(offsetof(CommandRegistration, operation4) == 288);
static_assert(offsetof(CommandRegistration, operation6) == 304);
static_assert(offsetof(CommandRegistration, empty) == 320);
static_assert(offsetof(CommandRegistration, operation7) == 336);
static_assert(offsetof(CommandRegistration, operation5) == 352);
static_assert(offsetof(CommandRegistration, operation2) == 368);
static_assert(offsetof(CommandRegistration, operation8) == 384);
static_assert(offsetof(CommandRegistration, operation3) == 400);
static_assert(offsetof(CommandRegistration, reserved2) == 416);
static_assert(sizeof(CommandRegistration) == 768);

inline constexpr HostOp<&t_HostOS_Ge, 344,
                        bool(std::int32_t version, std::int32_t type, std::int32_t id, const StringSlot* name,
                             void* record, std::int32_t size)>
    RegisterPluginRecordEntry{};

bool RegisterPluginRecord(PLUGINTYPE type, std::int32_t id, const core::String& name, void* record,
                          std::int32_t size);

// Registers a command; false without calling the host when `data` is null. The
// command object belongs to the host from a successful registration on.
bool RegisterCommand(std::int32_t id, const core::String& name, std::int32_t info, BaseBitmap* icon,
                     const core::String& help, CommandData* data);

// The destroy routine of every record: runs the object's destructor and releases its
// storage through the framework.
void DestroyDataObject(BaseData* object);
