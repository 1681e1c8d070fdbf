#pragma once
// Argument checks shared by the dialog, user-area, container and typed-value
// entries: each argument that names a host object must name a live one the host
// handed out, and each violation names the entry and the argument.
#include <cstdint>
#include <string>

#include "testhost/abi.h"
#include "testhost/contract.h"
#include "testhost/windows.h"

namespace testhost {

Windows& HostWindows();

// Whether the host serves `entry` itself. While a test makes it fail or stands in
// for it, the host's state does not follow the plug-in's calls of it, so checks of
// the order of calls that rely on it are not made.
bool Served(const EntryId& entry);

// A live window object the host created; null (and a failure) otherwise.
Window* LiveWindow(Contract& contract, const void* handle, const char* argument = "window");
// A live user area the host created; null (and a failure) otherwise.
UserArea* LiveArea(Contract& contract, const void* handle, const char* argument = "user area");
// The live container in `storage`; null (and a failure) otherwise.
ContainerValue* LiveContainer(Contract& contract, const void* storage, const char* argument);
// A live container the plug-in constructed itself (the host's messages are read-only).
ContainerValue* OwnContainer(Contract& contract, const void* storage, const char* argument);
// The text of a string slot: a pointer to a slot holding a live string, or null
// for the empty string.
std::string SlotText(Contract& contract, const StringSlot* slot, const char* argument);
// A bool passed as 0 or 1.
bool IsFlag(Contract& contract, std::int64_t value, const char* argument);
// The custom-GUI pointer of an element: the GUI object the host embedded there,
// null for ordinary elements.
bool ElementPointer(Contract& contract, const Window& window, std::int32_t element, const void* pointer,
                    const char* argument = "custom GUI");

}  // namespace testhost
