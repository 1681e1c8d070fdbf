#include "logging.h"

namespace core {

ErrorRef WriteLogLine(int, int, const char*, int, const char*) {
  // The default logger is reached through the framework's logger declaration once
  // the host has bound it; until then there is nowhere to write.
  return PrivateGetNullReturnError(kNullReturnNullPointer);
}

}  // namespace core
