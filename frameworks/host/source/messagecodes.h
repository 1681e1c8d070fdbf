#pragma once
#include <stdint.h>

// Host message codes: four ASCII letters packed with the first letter in the most
// significant byte ("bINI" is 0x62494E49).
constexpr int32_t MessageCode(const char (&code)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                                   (static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                                   (static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                                   static_cast<uint32_t>(static_cast<unsigned char>(code[3])));
}

namespace msg {
inline constexpr int32_t kBuildLayout = MessageCode("bINI");
inline constexpr int32_t kInitValues = MessageCode("bVIN");
inline constexpr int32_t kCoreMessage = MessageCode("MciM");
inline constexpr int32_t kCoreMessageId = MessageCode("MciI");
inline constexpr int32_t kSyncMessage = MessageCode("sync");
inline constexpr int32_t kAction = MessageCode("bACT");
inline constexpr int32_t kActionId = MessageCode("meid");
inline constexpr int32_t kCheckClose = MessageCode("chkc");
inline constexpr int32_t kAskClose = MessageCode("askc");
inline constexpr int32_t kDestroyed = MessageCode("dsty");
inline constexpr int32_t kInteraction = MessageCode("inta");
inline constexpr int32_t kHidden = MessageCode("visF");
inline constexpr int32_t kVisible = MessageCode("visT");
inline constexpr int32_t kTimer = 10020;
inline constexpr int32_t kSetText = MessageCode("bTIC");
inline constexpr int32_t kTristate = MessageCode("tris");
inline constexpr int32_t kValue = MessageCode("valu");
inline constexpr int32_t kMinSize = MessageCode("bCAS");
inline constexpr int32_t kResized = MessageCode("bISI");
inline constexpr int32_t kDraw = MessageCode("bDRA");
inline constexpr int32_t kInput = MessageCode("bIPN");
inline constexpr int32_t kLayoutMode = MessageCode("laym");
inline constexpr int32_t kDefaultHeight = MessageCode("defh");
inline constexpr int32_t kMessageValue = MessageCode("meva");
inline constexpr int32_t kCustomGuiMessage = 30;

static_assert(kBuildLayout == 0x62494E49);
static_assert(kCoreMessageId == 0x4D636949);
static_assert(kTimer == 0x2724);
}  // namespace msg
