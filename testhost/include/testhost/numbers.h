#pragma once
// The host's own numbers: message codes, element operation codes, identifiers,
// kinds and the byte layouts of the records the host reads from the plug-in. They
// are written here from the host's side and never taken from the plug-in's headers,
// so that a wrong value in the plug-in fails instead of agreeing with itself.
#include <cstddef>
#include <cstdint>

namespace testhost {

// ---- interface versions ----
inline constexpr std::int32_t kHostVersion = 2024000;
inline constexpr std::int32_t kPluginApiVersion = 2024000;
inline constexpr std::uint64_t kModuleVersions[2] = {2023904, 2024000};

// ---- plugin_main ----
namespace action {
inline constexpr std::int32_t kInit = 1;
inline constexpr std::int32_t kStart = 2;
inline constexpr std::int32_t kEnd = 3;
inline constexpr std::int32_t kQuery = 4;
inline constexpr std::int32_t kMessage = 6;
}  // namespace action
namespace pluginmessage {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kLoadResources = 1;
}  // namespace pluginmessage

// ---- dialog and user-area message codes (four letters, first in the top byte) ----
namespace code {
inline constexpr std::int32_t bINI = 0x62494E49;  // build the layout
inline constexpr std::int32_t bVIN = 0x6256494E;  // initial values
inline constexpr std::int32_t MciM = 0x4D63694D;  // core message
inline constexpr std::int32_t MciI = 0x4D636949;  // key: core message id
inline constexpr std::int32_t sync = 0x73796E63;  // synchronous core message
inline constexpr std::int32_t bACT = 0x62414354;  // element or menu item used
inline constexpr std::int32_t meid = 0x6D656964;  // key: element or menu id
inline constexpr std::int32_t chkc = 0x63686B63;  // may the window close
inline constexpr std::int32_t askc = 0x61736B63;  // close query of modal and sub-dialogs
inline constexpr std::int32_t dsty = 0x64737479;  // the window was destroyed
inline constexpr std::int32_t inta = 0x696E7461;  // start of an interaction
inline constexpr std::int32_t visF = 0x76697346;  // hidden
inline constexpr std::int32_t visT = 0x76697354;  // visible
inline constexpr std::int32_t kTimer = 10020;     // timer tick
inline constexpr std::int32_t bTIC = 0x62544943;  // set an element's text (container id and key)
inline constexpr std::int32_t tris = 0x74726973;  // key: tristate
inline constexpr std::int32_t valu = 0x76616C75;  // key: flags / value
inline constexpr std::int32_t bCAS = 0x62434153;  // user area: minimum size
inline constexpr std::int32_t bISI = 0x62495349;  // user area: resized
inline constexpr std::int32_t bDRA = 0x62445241;  // user area: draw
inline constexpr std::int32_t bIPN = 0x6249504E;  // user area: input event
inline constexpr std::int32_t laym = 0x6C61796D;  // custom GUI settings: layout mode
inline constexpr std::int32_t defh = 0x64656668;  // custom GUI settings: default height
inline constexpr std::int32_t meva = 0x6D657661;  // custom GUI message value
inline constexpr std::int32_t kCustomGuiMessage = 30;
inline constexpr std::int32_t kSceneChanged = 604;  // core message: the scene changed
// The further value messages of the family: integer and floating-point values.
inline constexpr std::int32_t vint = 0x76696E74;
inline constexpr std::int32_t vflt = 0x76666C74;
inline constexpr std::int32_t frmt = 0x66726D74;
inline constexpr std::int32_t mini = 0x6D696E69;
inline constexpr std::int32_t maxi = 0x6D617869;
inline constexpr std::int32_t step = 0x73746570;
inline constexpr std::int32_t quad = 0x71756164;
// Keys of a draw message: the rectangle x1, y1, x2, y2.
inline constexpr std::int32_t kDrawX1 = 1, kDrawY1 = 2, kDrawX2 = 3, kDrawY2 = 4;
// The id of a result container nobody has answered into.
inline constexpr std::int32_t kNoResult = -1;
}  // namespace code

// ---- ElementOperation codes (t_HostOS_Cd offset 272) ----
namespace op {
inline constexpr std::int32_t kAddLabel = 3;
inline constexpr std::int32_t kSetWindowTitle = 20;
inline constexpr std::int32_t kSetPluginId = 24;
inline constexpr std::int32_t kMarkRangeFailure = 26;
inline constexpr std::int32_t kMenuBeginSubmenu = 27;
inline constexpr std::int32_t kMenuEndSubmenu = 28;
inline constexpr std::int32_t kMenuClear = 30;
inline constexpr std::int32_t kCloseCheck = 32;
inline constexpr std::int32_t kMenuCommit = 35;
inline constexpr std::int32_t kMenuAddItem = 38;
inline constexpr std::int32_t kMenuSetItemState = 43;
inline constexpr std::int32_t kIsWindowOpen = 52;
}  // namespace op

// ---- windows ----
namespace dlg {  // DLG_TYPE
inline constexpr std::int32_t kModal = 10, kModalResizeable = 11, kModalPopupEdit = 12;
inline constexpr std::int32_t kAsync = 20, kAsyncPopupResizeable = 21, kAsyncPopupEdit = 22, kAsyncToolbar = 23;
inline constexpr std::int32_t kFullscreenWork = 30, kFullscreenMonitor = 31, kDummy = 32;
}  // namespace dlg
namespace openflag {  // OPENDIALOGFLAGS
inline constexpr std::int32_t kNone = 0, kIgnoreLayout = 1, kClientCoordinates = 2, kAlignTopLeftAtMouse = 4;
}  // namespace openflag
inline constexpr std::int32_t kOpenDialogFlagsMask = 1 | 2 | 4;  // OPENDIALOGFLAGS
namespace areaflag {  // USERAREAFLAGS
inline constexpr std::int32_t kNone = 0, kTabStop = 1, kHandleFocus = 2, kCoreMessage = 4, kSyncMessage = 8;
inline constexpr std::int32_t kDontMirror = 0x40000000;
}  // namespace areaflag
inline constexpr std::int32_t kUserAreaFlagsMask = 1 | 2 | 4 | 8 | 0x40000000;  // USERAREAFLAGS
inline constexpr std::int32_t kCheckValueRangeCount = 9;  // CHECKVALUERANGE 0 to 8
inline constexpr std::int32_t kCheckValueFormats[] = {0, 1, 2, 3, 5};  // CHECKVALUEFORMAT
inline constexpr std::int32_t kDefaultAreaColour = 1000;

// ---- keyed containers (GeContainer) ----
// The room a caller gives a container the host constructs in place: the size is
// the host's to choose, and this host takes all of the room the plug-in promises.
inline constexpr std::size_t kContainerStorageSize = 64;
inline constexpr std::size_t kContainerStorageAlignment = 16;

// ---- typed values (GeValue) ----
inline constexpr std::int32_t kValueEmpty = 0;  // the kind of a zeroed value
inline constexpr std::int32_t kValueInt32 = 15;
inline constexpr std::int32_t kValueFloat64 = 19;
inline constexpr std::size_t kValueSize = 16;  // kind (4), padding (4), value (8)

// ---- the statistics tool's identifiers ----
namespace tool {
inline constexpr std::int32_t kCommandId = 1040438;
inline constexpr std::int32_t kNameString = 10000, kAboutString = 10001, kHelpString = 10002;
inline constexpr std::int32_t kIncludeChildren = 5001, kPause = 5002, kIncludeNonPoly = 5003;
inline constexpr std::int32_t kAbout = 5004, kHelpFile = 5005, kGrid = 5006;
inline constexpr std::int32_t kLabelPolygons = 4001, kLabelPoints = 4002, kLabelObjects = 4003, kLabelNgons = 4004;
inline constexpr std::int32_t kPolygonsEditable = 1001, kPolygonsCurrent = 1002;
inline constexpr std::int32_t kPointsEditable = 1003, kPointsCurrent = 1004;
inline constexpr std::int32_t kObjectsEditable = 1005, kObjectsCurrent = 1006;
inline constexpr std::int32_t kNgonsEditable = 1007, kNgonsCurrent = 1008;
inline constexpr std::int32_t kMessageBoxStyle = 48;  // exclamation icon, OK button
inline constexpr std::int32_t kStateWord = 0x40000000;
}  // namespace tool

// ---- scene ----
inline constexpr std::int32_t kTagPoints = 5600;
inline constexpr std::int32_t kTagPolygons = 5604;
inline constexpr std::int32_t kTypePolygon = 5100;
inline constexpr std::int32_t kTypePoint = 5156;
inline constexpr std::int32_t kTypeNull = 5140;
inline constexpr std::int32_t kTypeCamera = 5103;
inline constexpr std::int32_t kTypeInstance = 5126;
inline constexpr std::int32_t kTypeCube = 5159;
inline constexpr std::int32_t kTypeSphere = 5160;
inline constexpr std::int32_t kTypePlane = 5168;
inline constexpr std::int32_t kInfoGeometry = 0x80;
// Further information bits the host sets for other properties of an object (being
// a generator, taking part in the hierarchy's input, ...); the tool reads none.
inline constexpr std::int32_t kInfoGenerator = 0x400;
inline constexpr std::int32_t kInfoHierarchy = 0x4;
inline constexpr std::int32_t kCommandMakeEditable = 245;
inline constexpr std::int32_t kCommandJoin = 246;

// The modeling-command record: document, object, 24 zero bytes, result list.
namespace modeling {
inline constexpr std::size_t kDocument = 0, kObject = 8, kReserved = 16, kReservedSize = 24, kResult = 40;
inline constexpr std::size_t kSize = 48;
}  // namespace modeling

// ---- bitmaps ----
inline constexpr std::int32_t kBitmapScaleFactor = 100;  // bitmap data id of the scale factor
inline constexpr std::int32_t kImageLoaded = 1;
inline constexpr std::int32_t kFrameAll = -1;
// The host shows a command's icon this many points square; the bitmap's scale
// factor (pixels per point) says how many pixels that takes.
inline constexpr std::int32_t kCommandIconPoints = 32;

// ---- resources and the general table ----
inline constexpr std::uint8_t kResourceGlobalFlag = 1;  // the flag a resource folder is released with
namespace hoststate {  // the values of the host state entry
inline constexpr std::int32_t kEnd = 2, kBegin = 3;
}  // namespace hoststate
inline constexpr std::int32_t kInteractionArgument = 1;  // each of the three arguments of an interaction

// ---- plug-in registration ----
inline constexpr std::int32_t kPluginTypeCommand = 4;
// The command registration record. Member pointers are the compiler's: 16 bytes on
// this platform's ABI (function or 1 + table offset, then the receiver adjustment),
// which gives the 768-byte layout.
// The platform the plug-in under test is built for: the one the test host runs on.
namespace build {
#if defined(_WIN32)
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif
}  // namespace build

namespace registration {
#if defined(_WIN32)
// Windows x64: member pointers are one code word (Microsoft layout); a pointer to
// a virtual function is the address of a small thunk that jumps through the
// object's table.
inline constexpr std::size_t kSize = 384;
inline constexpr std::size_t kMemberPointerSize = 8;
inline constexpr std::size_t kInfo = 0, kDestroy = 8, kData = 64, kHelp = 128, kIcon = 136;
inline constexpr std::size_t kEmpty = 168;
// Offsets of operations 1 to 8 (index 0 unused).
inline constexpr std::size_t kOperation[9] = {0, 144, 192, 208, 152, 184, 160, 176, 200};
// Slots of CommandData's virtual table: the destructor takes one entry (the
// deleting destructor), then operations 1 to 8 in order.
inline constexpr std::size_t kFirstOperationSlot = 1;
#else
inline constexpr std::size_t kSize = 768;
inline constexpr std::size_t kMemberPointerSize = 16;
inline constexpr std::size_t kInfo = 0, kDestroy = 8, kData = 128, kHelp = 256, kIcon = 264;
inline constexpr std::size_t kEmpty = 320;
// Offsets of operations 1 to 8 (index 0 unused).
inline constexpr std::size_t kOperation[9] = {0, 272, 368, 400, 288, 352, 304, 336, 384};
// Slots of CommandData's virtual table: the destructor takes two entries (complete
// and deleting), then operations 1 to 8 in order.
inline constexpr std::size_t kFirstOperationSlot = 2;
#endif
// A member pointer to a virtual function (two-word layout): 1 + the byte offset of
// its table slot, then the receiver adjustment.
inline constexpr std::size_t kVirtualSlotSize = 8;
}  // namespace registration

// ---- framework: records read through g_framework ----
// Identifier value: text pointer, then a word packing length (bits 44-63), owned
// text (bit 43) and a 43-bit hash h = h * 31 + c.
namespace id {
inline constexpr std::size_t kText = 0, kWord = 8, kSize = 16;
inline constexpr std::uint64_t kHashMask = 0x7ffffffffffULL;
inline constexpr std::uint64_t kOwnedText = 1ULL << 43;
inline constexpr int kLengthShift = 44;
}  // namespace id

namespace record {
// Common head of every registration record.
inline constexpr std::size_t kKind = 0, kFlags = 4, kId = 8, kOwner = 24, kState = 32, kNext = 40, kHead = 48;
// Record kinds.
inline constexpr std::int32_t kObjectInterface = 1, kTableInterface = 3, kDeclaration = 4, kClass = 6,
                              kDataType = 7, kUnit = 8, kModule = 9, kStartFunctions = 10, kInitializer = 11,
                              kRegistry = 12;
// Flag bits.
inline constexpr std::uint32_t kConstructed = 0x1, kResolved = 0x4, kSingleBase = 0x400, kResolveFailed = 0x1000,
                               kSkipConfiguration = 0x2000, kRegistered = 0x200, kHasChildren = 0x200000;
// Function-table interface reference (kind 3), after the head.
inline constexpr std::size_t kTableDefinition = 56, kTable = 64, kTableEnd = 72, kMethodNames = 80,
                             kMethodCount = 88, kInstaller = 96, kOnDemand = 112, kTableReferenceSize = 128;
// Object-dispatch interface reference (kind 1), after the head.
inline constexpr std::size_t kObjectDefinition = 56, kMethodOffset = 64, kBases = 80, kObjectMethodNames = 88,
                             kIdCopy = 96, kMinusOne = 120, kMethodKinds = 128;
inline constexpr std::uint64_t kUnboundMethodOffset = 0x8000000000000000ULL;
// Declaration, class and data type references (kinds 4, 6, 7): the definition the
// kernel writes, and the resolved value.
inline constexpr std::size_t kDeclarationDefinition = 48, kDeclarationValue = 64;
// Translation unit (kind 8): its module entry, child list, header uses and
// initializer dependencies.
inline constexpr std::size_t kUnitModule = 48, kUnitChildHead = 56, kUnitChildTail = 64, kUnitUses = 72,
                             kUnitDependencies = 80;
// Header use node: next, two zero words, the declaration, the header path, a zero
// word, the line.
inline constexpr std::size_t kUseNext = 0, kUseDeclaration = 24, kUseHeader = 32, kUseLine = 48;
// Initializer dependency node: next, the initializer twice, two zero words, the
// dotted name.
inline constexpr std::size_t kDependencyNext = 0, kDependencyInitializer = 8, kDependencyInitializerAgain = 16,
                             kDependencyName = 40;
// Initializer (kind 11): four zero words after the head, then the priority.
inline constexpr std::size_t kInitializerPriority = 80;
// Start and end functions (kind 10).
inline constexpr std::size_t kStartFunction = 80, kEndFunction = 88;
// Module entry (kind 9): its lists.
inline constexpr std::size_t kModuleUnits = 48, kModuleReferences = 56, kModuleNext = 64, kModuleFramework = 72,
                             kModuleDependencies = 104, kModuleDependencyCount = 112;
}  // namespace record

// The exported module record g_framework.
namespace module {
inline constexpr std::size_t kVersions = 0, kModules = 16, kIdSlot = 24, kInitializer = 40, kConstants = 48;
// A static identifier constant's node: the constant, its text, the next node.
inline constexpr std::size_t kNodeConstant = 0, kNodeText = 8, kNodeNext = 16;
}  // namespace module

// A configuration entry the plug-in hands to ConfigurationRegister.
namespace configuration {
inline constexpr std::size_t kName = 0, kHelp = 8, kType = 16, kStorage = 24, kZero = 32, kSize = 56;
inline constexpr std::int32_t kBool = 1, kValue = 3, kValueAlt = 4, kCrashState = 5;
}  // namespace configuration

// Framework objects: the count word before the object (units of 16), the class
// descriptor pointer at the start, the descriptor's size at byte 32 and, for an
// interface at method offset m, a flag byte then 16 bytes per method.
namespace object {
inline constexpr std::int64_t kReferenceUnit = 16;
inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::size_t kMethodEntry = 16;
inline constexpr std::size_t kDataTypeFlags = 40;  // data types: bit 0 = static
}  // namespace object

// A job object: count word before it, then the virtual table, the implementation
// record (destroy, run, type name) and one state word.
namespace job {
inline constexpr std::size_t kImplementation = 8, kState = 16;
inline constexpr std::size_t kDestroy = 0, kRun = 8, kTypeName = 16;
inline constexpr std::int32_t kThreadMain = 0, kThreadWorker = 1;
inline constexpr std::int32_t kWaitDefault = 0, kWaitReturnOnCancel = 1, kWaitPrivateBlocking = 2,
                              kWaitExternalEnqueue = 4, kWaitDontWait = 128;
inline constexpr double kNoTimeLimit = 1.7976931348623157e308;
}  // namespace job

// ---- console ----
inline constexpr std::int32_t kConsoleTarget = 14;
inline constexpr std::int32_t kConsoleLevel = 1;
inline constexpr std::uint32_t kDefaultConsoleMask = 7;

}  // namespace testhost
