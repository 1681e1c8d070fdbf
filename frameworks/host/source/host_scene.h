#pragma once
// Scene, mesh, file and message operations of the host.
#include <stddef.h>
#include <stdint.h>

#include "host_path.h"
#include "operatingsystem.h"

struct BaseDocument;
struct BaseObject;
struct ResultList;

// The record passed with a modeling command: the plug-in fills document and object,
// the host writes the result list.
struct ModelingCommandRecord {
  BaseDocument* document;
  BaseObject* object;
  unsigned char reserved[24];
  ResultList* result;
};
static_assert(sizeof(ModelingCommandRecord) == 48);
static_assert(offsetof(ModelingCommandRecord, object) == 8);
static_assert(offsetof(ModelingCommandRecord, reserved) == 16);
static_assert(offsetof(ModelingCommandRecord, result) == 40);

// Host numbers the tool passes.
inline constexpr int32_t kTagPoints = 5600;
inline constexpr int32_t kTagPolygons = 5604;
inline constexpr int32_t kTypePolygonObject = 5100;
inline constexpr int32_t kTypePointObject = 5156;
inline constexpr int32_t kInfoGeometry = 0x80;
inline constexpr int32_t kCommandMakeEditable = 245;
inline constexpr int32_t kCommandJoin = 246;

// Documents and objects.
inline constexpr HostOp<&t_HostOS_Ge, 296, BaseDocument*()> ActiveDocument{};
inline constexpr HostOp<&t_HostOS_Bd, 96, BaseObject*(BaseDocument*)> ActiveObject{};
inline constexpr HostOp<&t_HostOS_Bo, 312, int32_t(BaseObject*, int32_t)> TagElementCount{};
inline constexpr HostOp<&t_HostOS_Bo, 1064, int32_t(BaseObject*)> NgonCount{};
inline constexpr HostOp<&t_HostOS_Bo, 336, int32_t(BaseObject*)> ObjectInfoFlags{};
inline constexpr HostOp<&t_HostOS_At, 24, bool(BaseObject*, int32_t)> IsInstanceOfType{};
inline constexpr HostOp<&t_HostOS_Bl, 32, void(BaseObject*)> FreeObject{};

// Hierarchy.
inline constexpr HostOp<&t_HostOS_At, 88, BaseObject*(BaseObject*)> NextSibling{};
inline constexpr HostOp<&t_HostOS_At, 104, BaseObject*(BaseObject*)> ParentOf{};
inline constexpr HostOp<&t_HostOS_At, 112, BaseObject*(BaseObject*)> FirstChild{};

// Modeling commands and their results.
inline constexpr HostOp<&t_HostOS_Ge, 616, bool(int32_t, ModelingCommandRecord*)> RunModelingCommand{};
inline constexpr HostOp<&t_HostOS_At, 304, BaseObject*(ResultList*, int32_t)> ResultListAt{};
inline constexpr HostOp<&t_HostOS_At, 288, void(ResultList**)> FreeResultList{};

// Files, folders and messages.
inline constexpr HostOp<&t_HostOS_Ge, 56, bool(const PathSlot*)> OpenFileWithSystem{};
inline constexpr HostOp<&t_HostOS_Ge, 64, void(PathSlot*)> ApplicationFolder{};
inline constexpr HostOp<&t_HostOS_Ge, 120, int32_t(const StringSlot*, int32_t)> ShowMessageBox{};

// GEMB message box styles.
inline constexpr int32_t GEMB_OK = 0;
inline constexpr int32_t GEMB_ICONEXCLAMATION = 48;
