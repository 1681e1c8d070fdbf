#pragma once
// Argument checks shared by the path, scene, bitmap, resource and general entries:
// each argument that names a host value must name a live one the host handed out,
// and each violation names the entry and the argument.
#include <string>

#include "testhost/abi.h"
#include "testhost/contract.h"
#include "testhost/scene.h"

namespace testhost {

struct PathValue;
struct Bitmap;

// A string slot: a pointer to a slot that holds a live string, or null for the
// empty string. `text` receives the string's text.
bool LiveStringSlot(Contract& contract, const StringSlot* slot, const char* argument, std::string* text = nullptr);

// A slot to construct a path value in: present and empty.
bool EmptyPathSlot(Contract& contract, const void* slot, const char* argument);
// The path value in a slot the entry reads; null (and a failure) unless it is live.
PathValue* PathIn(Contract& contract, const void* slot, const char* argument);
// The path value in a slot the entry changes: also one the plug-in holds.
PathValue* OwnPathIn(Contract& contract, const void* slot, const char* argument);

// A scene object or an object a command made, not freed; null (and a failure)
// otherwise.
SceneObject* LiveSceneObject(Contract& contract, const void* object, const char* argument);

// A bitmap the plug-in holds; null (and a failure) otherwise.
Bitmap* HeldBitmap(Contract& contract, const void* bitmap, const char* argument);

}  // namespace testhost
