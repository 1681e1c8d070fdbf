#pragma once
// Plug-in data objects handed to the host, and the registration of commands.
#include <stddef.h>
#include <stdint.h>

#include "frameworkstring.h"
#include "host_basebitmap.h"
#include "host_scene.h"
#include "memory.h"
#include "operatingsystem.h"
#include "platform.h"

// The host's plug-in kinds.
enum class PLUGINTYPE : int32_t {
  ANY = 0, SHADER = 1, MATERIAL = 2, COMMAND = 4, OBJECT = 5, TAG = 6, BITMAPFILTER = 7,
  VIDEOPOST = 8, TOOL = 9, SCENEHOOK = 10, NODE = 11, LIBRARY = 12, BITMAPLOADER = 13,
  BITMAPSAVER = 14, SCENELOADER = 15, SCENESAVER = 16, COREMESSAGE = 17, CUSTOMGUI = 18,
  CUSTOMDATATYPE = 19, RESOURCEDATATYPE = 20, MANAGERINFORMATION = 21, CTRACK = 32,
  FALLOFF = 33, VMAPTRANSFER = 34, PREFS = 35, SNAP = 36, FIELDLAYER = 37, DESCRIPTION = 38,
};

// The plug-in's interface version, passed first to the registration entry.
inline constexpr int32_t kPluginApiVersion = 2024000;

// The common base of plug-in data objects. It has no base class of its own: with
// the Microsoft layout a non-polymorphic base ahead of the virtual table pointer
// would widen every member pointer of its commands to 16 bytes. Its objects live
// in framework memory, as those of core::FrameworkAllocated do.
class BaseData {
 public:
  virtual ~BaseData() = default;
  static void* operator new(size_t size) noexcept { return core::FrameworkAllocated::operator new(size); }
  static void operator delete(void* object) { core::FrameworkAllocated::operator delete(object); }
};

// A command: the host calls these operations, in this fixed order, through member
// pointers kept in the registration record.
class CommandData : public BaseData {
 public:
  virtual bool Run(BaseDocument* document, void* hostArgument);
  virtual bool HostOperation2(BaseDocument* document, void* hostArgument);
  virtual bool HostOperation3(BaseDocument* document, void* hostArgument);
  virtual int32_t QueryState(BaseDocument* document, void* hostArgument);
  virtual bool HostOperation5(BaseDocument* document, void* hostArgument);
  virtual bool RestoreFromLayout(void* layoutToken);
  virtual core::String QueryText();
  virtual bool HostOperation8(BaseDocument* document, void* hostArgument);
};

inline constexpr int32_t kCommandStateDefault = 0x40000000;

// The compiler's own pointer to a member function of a command: one code word on
// Windows x64 (Microsoft layout, single inheritance), code word and this-adjustment
// on the Unix ABI.
using CommandOperation = bool (CommandData::*)(BaseDocument*, void*);
inline constexpr size_t kMemberPointerSize = sizeof(CommandOperation);
static_assert(kMemberPointerSize == (platform::kTraits.windows ? 8 : 16),
              "member pointers of a single-inheritance class: 8 bytes on Windows, 16 elsewhere");

// A plain routine stored in a member-pointer-wide field.
template <size_t Width>
struct RoutineField {
  void (*function)(BaseData* object);
  intptr_t adjustment;
};
template <>
struct RoutineField<8> {
  void (*function)(BaseData* object);
};
using DestroyRoutine = RoutineField<kMemberPointerSize>;
static_assert(sizeof(DestroyRoutine) == kMemberPointerSize);

// The record exchanged with the host's registration entry. Its layout follows the
// width P of a member pointer: 48 P bytes, the data object at 8 P, the help text at
// 16 P and the nine operation fields from 16 P + 16 on.
struct CommandRegistration {
  static constexpr size_t P = kMemberPointerSize;
  using RunOperation = CommandOperation;
  using StateOperation = int32_t (CommandData::*)(BaseDocument*, void*);
  using RestoreOperation = bool (CommandData::*)(void*);
  using TextOperation = core::String (CommandData::*)();

  int32_t info;
  DestroyRoutine destroy;
  unsigned char reserved0[8 * P - 8 - P];
  CommandData* data;
  unsigned char reserved1[8 * P - 8];
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
  unsigned char reserved2[23 * P - 16];
};

// The byte offsets the host reads, per platform.
struct CommandRegistrationLayout {
  size_t destroy, reserved0, data, reserved1, help, icon, operation1, operation4, operation6, empty,
      operation7, operation5, operation2, operation8, operation3, reserved2, size;
};
inline constexpr CommandRegistrationLayout kWindowsRegistration{
    8, 16, 64, 72, 128, 136, 144, 152, 160, 168, 176, 184, 192, 200, 208, 216, 384};
inline constexpr CommandRegistrationLayout kUnixRegistration{
    8, 24, 128, 136, 256, 264, 272, 288, 304, 320, 336, 352, 368, 384, 400, 416, 768};
inline constexpr CommandRegistrationLayout kRegistration =
    platform::kTraits.windows ? kWindowsRegistration : kUnixRegistration;
static_assert(offsetof(CommandRegistration, info) == 0);
static_assert(offsetof(CommandRegistration, destroy) == kRegistration.destroy);
static_assert(offsetof(CommandRegistration, reserved0) == kRegistration.reserved0);
static_assert(offsetof(CommandRegistration, data) == kRegistration.data);
static_assert(offsetof(CommandRegistration, reserved1) == kRegistration.reserved1);
static_assert(offsetof(CommandRegistration, help) == kRegistration.help);
static_assert(offsetof(CommandRegistration, icon) == kRegistration.icon);
static_assert(offsetof(CommandRegistration, operation1) == kRegistration.operation1);
static_assert(offsetof(CommandRegistration, operation4) == kRegistration.operation4);
static_assert(offsetof(CommandRegistration, operation6) == kRegistration.operation6);
static_assert(offsetof(CommandRegistration, empty) == kRegistration.empty);
static_assert(offsetof(CommandRegistration, operation7) == kRegistration.operation7);
static_assert(offsetof(CommandRegistration, operation5) == kRegistration.operation5);
static_assert(offsetof(CommandRegistration, operation2) == kRegistration.operation2);
static_assert(offsetof(CommandRegistration, operation8) == kRegistration.operation8);
static_assert(offsetof(CommandRegistration, operation3) == kRegistration.operation3);
static_assert(offsetof(CommandRegistration, reserved2) == kRegistration.reserved2);
static_assert(sizeof(CommandRegistration) == kRegistration.size);

inline constexpr HostOp<&t_HostOS_Ge, 344,
                        bool(int32_t version, int32_t type, int32_t id, const StringSlot* name,
                             void* record, int32_t size)>
    RegisterPluginRecordEntry{};

bool RegisterPluginRecord(PLUGINTYPE type, int32_t id, const core::String& name, void* record,
                          int32_t size);

// Registers a command; false without calling the host when `data` is null. The
// command object belongs to the host from the registration call on, whatever the
// host answers: the caller never frees it.
bool RegisterCommand(int32_t id, const core::String& name, int32_t info, BaseBitmap* icon,
                     const core::String& help, CommandData* data);

// The destroy routine of every record: runs the object's destructor and releases its
// storage through the framework. It sits in a member-pointer field, where on the Unix
// ABI an odd code word marks a virtual member: its address must be even, which an
// unoptimised build does not give a plain function by itself.
__attribute__((aligned(16))) void DestroyDataObject(BaseData* object);
