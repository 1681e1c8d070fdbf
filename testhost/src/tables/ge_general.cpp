// t_HostOS_Ge: the general services: the active document, modeling commands,
// opening a file with the system, the application folder, the host state, message
// boxes, interactions and range messages of dialogs, and plug-in registration.
#include <sstream>

#include "object_arguments.h"
#include "testhost/application.h"
#include "testhost/commands.h"
#include "testhost/current.h"
#include "testhost/host_tables.h"
#include "testhost/paths.h"
#include "testhost/scene.h"

namespace testhost {
namespace {

Application& App() { return CurrentApplication(); }
Scene& TheScene() { return CurrentScene(); }

// ---- documents and modeling commands ----

Document* ActiveDocument() { return TheScene().ActiveDocument(); }

// The record, read by byte offset: the active document, the object the command acts
// on, 24 zero bytes and the result field. Command 245 acts on an object of the
// document; command 246 only on the editable copy the last command 245 gave.
bool RunModelingCommand(std::int32_t command, void* record) {
  Contract contract;
  Scene& scene = TheScene();
  const bool known = contract.Check(command == kCommandMakeEditable || command == kCommandJoin, "command",
                                    "must be 245 or 246, was " + std::to_string(command));
  if (!contract.NotNull(record, "record")) return false;
  const auto* document = ReadAt<const Document*>(record, modeling::kDocument);
  contract.Check(document != nullptr && document == scene.ActiveDocument(), "record.document",
                 "must be the active document");
  for (std::size_t at = modeling::kReserved; at < modeling::kReserved + modeling::kReservedSize; ++at)
    if (!contract.Check(ReadAt<std::uint8_t>(record, at) == 0, "record.reserved",
                        "must be zero (bytes 16 to 39), byte " + std::to_string(at) + " is not"))
      break;
  const void* list = ReadAt<const void*>(record, modeling::kResult);
  const bool resultOk = contract.Check(list == nullptr || scene.List(list) != nullptr, "record.result",
                                       "must be null or a result list the host put there");
  const auto* object = ReadAt<const void*>(record, modeling::kObject);
  SceneObject* target = LiveSceneObject(contract, object, "record.object");
  if (target != nullptr && command == kCommandMakeEditable && scene.Validating())
    contract.Check(scene.IsSceneObject(target) && target->document == document, "record.object",
                   "must be an object of the record's document, was " + scene.Describe(target));
  if (target != nullptr && command == kCommandJoin)
    contract.Check(target == scene.LastEditable(), "record.object",
                   "must be the editable copy the last command 245 gave, was " + scene.Describe(target));
  if (!known || !resultOk || target == nullptr) return false;
  return scene.RunCommand(command, static_cast<CommandRecord*>(record));
}

// ---- files, folders and messages ----

bool OpenFileWithSystem(const PathValue* const* path) {
  Contract contract;
  const PathValue* file = PathIn(contract, path, "path");
  if (file == nullptr) return false;
  App().openedFiles.push_back(file->text);
  return App().opensFiles;
}

void ApplicationFolder(PathValue** slot) {
  Contract contract;
  if (EmptyPathSlot(contract, slot, "slot"))
    *slot = CurrentPaths().New(App().folder, Owner::kPlugin, Describe(entry::ApplicationFolder));
}

std::int32_t ShowMessageBox(const StringSlot* text, std::int32_t style) {
  Contract contract;
  std::string shown;
  LiveStringSlot(contract, text, "text", &shown);
  contract.Is(style, tool::kMessageBoxStyle, "style");
  App().messageBoxes.emplace_back(shown, style);
  return App().messageBoxAnswer;
}

// ---- the dialog bridge's calls ----

// The host state is kept on the main thread only (its thread rule).
void HostState(std::int32_t state) {
  Contract contract;
  contract.Check(state == hoststate::kBegin || state == hoststate::kEnd, "state",
                 "must be 3 (begin) or 2 (end), was " + std::to_string(state));
  App().hostStates.push_back(state);
}

void HostInteraction(std::int32_t a, std::int32_t b, std::int32_t c) {
  Contract contract;
  contract.Is(a, kInteractionArgument, "first");
  contract.Is(b, kInteractionArgument, "second");
  contract.Is(c, kInteractionArgument, "third");
  ++App().interactions;
}

bool IsValueFormat(std::int32_t format) {
  for (std::int32_t known : kCheckValueFormats)
    if (format == known) return true;
  return false;
}

void ShowRangeMessage(std::int32_t type, double x, double y, std::int32_t format) {
  Contract contract;
  contract.Check(type >= 0 && type < kCheckValueRangeCount, "type",
                 "must be a CHECKVALUERANGE value (0 to 8), was " + std::to_string(type));
  contract.Check(IsValueFormat(format), "format",
                 "must be a CHECKVALUEFORMAT value (0, 1, 2, 3 or 5), was " + std::to_string(format));
  App().rangeMessages.push_back(ShownRangeMessage{type, x, y, format});
}

// ---- plug-in registration ----

std::string Words(const MemberPointer& member) {
  std::ostringstream text;
  text << "{" << member.pointer << ", " << member.adjustment << "}";
  return text.str();
}

bool OutsideFields(std::size_t at) {
  auto in = [at](std::size_t offset, std::size_t width) { return at >= offset && at < offset + width; };
  if (in(registration::kInfo, 4) || in(registration::kDestroy, registration::kMemberPointerSize) ||
      in(registration::kData, 8) || in(registration::kHelp, 8) || in(registration::kIcon, 8))
    return false;
  for (int operation = 1; operation <= 8; ++operation)
    if (in(registration::kOperation[operation], registration::kMemberPointerSize)) return false;
  return true;
}

// The operation whose member pointer `member` is, or 0.
int OperationOf(const MemberPointer& member) {
  for (int operation = 1; operation <= 8; ++operation)
    if (VirtualSlotOf(member) == static_cast<long>(registration::kFirstOperationSlot) + operation - 1) return operation;
  return 0;
}

// The command registration record, read by byte offset: zero outside its fields,
// the destroy routine a plain function, a data object, a help string, an icon the
// plug-in holds (or none) and each operation the compiler's member pointer to its
// own virtual member of CommandData.
void CheckCommandRecord(Contract& contract, const unsigned char* record) {
  for (std::size_t at = 0; at < registration::kSize; ++at) {
    if (record[at] == 0 || !OutsideFields(at)) continue;
    const bool empty = at >= registration::kEmpty && at < registration::kEmpty + registration::kMemberPointerSize;
    const std::string emptyField = "record field at " + std::to_string(registration::kEmpty);
    contract.Fail(empty ? emptyField.c_str() : "record",
                  empty ? "must be null" : "must be zero outside its fields, byte " + std::to_string(at) + " is not");
    break;
  }
  const auto destroy = ReadMemberPointer(record, registration::kDestroy);
  contract.Check(destroy.pointer != 0 && VirtualSlotOf(destroy) < 0 && destroy.adjustment == 0,
                 "record destroy routine", "must be a plain function with no adjustment, was " + Words(destroy));
  contract.NotNull(ReadAt<const void*>(record, registration::kData), "record data object");
  const auto* help = ReadAt<const StringSlot*>(record, registration::kHelp);
  LiveStringSlot(contract, help, "record help");
  if (const void* icon = ReadAt<const void*>(record, registration::kIcon))
    HeldBitmap(contract, icon, "record icon");
  for (int operation = 1; operation <= 8; ++operation) {
    const auto member = ReadMemberPointer(record, registration::kOperation[operation]);
    const long expected = static_cast<long>(registration::kFirstOperationSlot) + operation - 1;
    if (VirtualSlotOf(member) == expected) continue;
    const std::string field = "record operation " + std::to_string(operation);
    const int other = OperationOf(member);
    contract.Fail(field.c_str(), "must be the member pointer to CommandData's operation " + std::to_string(operation) +
                                     " (virtual slot " + std::to_string(expected) + "), was " + Words(member) +
                                     (other != 0 ? " (operation " + std::to_string(other) + "'s)" : ""));
  }
}

// Takes a registration the host can read. An accepted command is the host's to call;
// a refused one is the host's all the same (the record handed it over), kept without
// being called and ended through its destroy routine at unload.
bool TakePluginRecord(std::int32_t version, std::int32_t type, std::int32_t id, const StringSlot* name,
                      const unsigned char* record, std::int32_t size, bool accept) {
  Contract contract;
  contract.Is(version, kPluginApiVersion, "version");
  contract.Is(type, kPluginTypeCommand, "type");
  contract.Is(size, static_cast<std::int32_t>(registration::kSize), "size");
  std::string text;
  LiveStringSlot(contract, name, "name", &text);
  contract.Check(CurrentCommands().ById(id) == nullptr, "id", "must not be registered already");
  if (!contract.NotNull(record, "record") || type != kPluginTypeCommand ||
      size != static_cast<std::int32_t>(registration::kSize))
    return false;
  CheckCommandRecord(contract, record);
  // A record the host cannot read is refused: nothing is kept and nothing called.
  if (!contract.Ok()) return false;
  CurrentCommands().Register(id, text, record).refused = !accept;
  return accept;
}

bool RegisterPluginRecord(std::int32_t version, std::int32_t type, std::int32_t id, const StringSlot* name,
                          const unsigned char* record, std::int32_t size) {
  return TakePluginRecord(version, type, id, name, record, size, true);
}

bool RefusePluginRecord(std::int32_t version, std::int32_t type, std::int32_t id, const StringSlot* name,
                        const unsigned char* record, std::int32_t size) {
  return TakePluginRecord(version, type, id, name, record, size, false);
}

}  // namespace

void InstallGeneralEntries(HostTables& tables) {
  Install<entry::OpenFileWithSystem, &OpenFileWithSystem, kMainThread>(tables);
  Install<entry::ApplicationFolder, &ApplicationFolder, kMainThread>(tables);
  Install<entry::HostState, &HostState, kMainThread>(tables);
  Install<entry::ShowMessageBox, &ShowMessageBox, kMainThread>(tables);
  Install<entry::HostInteraction, &HostInteraction, kMainThread>(tables);
  Install<entry::RangeMessage, &ShowRangeMessage, kMainThread>(tables);
  Install<entry::ActiveDocument, &ActiveDocument, kMainThread>(tables);
  Install<entry::RegisterPluginRecord, &RegisterPluginRecord, kMainThread, &RefusePluginRecord>(tables);
  Install<entry::RunModelingCommand, &RunModelingCommand, kMainThread>(tables);
}

}  // namespace testhost
