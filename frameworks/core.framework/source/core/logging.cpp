#include "logging.h"

#include "object.h"
#include "register.h"
#include "registration.h"
#include "frameworkstring.h"

namespace core {
namespace {

DeclarationReference g_defaultLogger;
[[maybe_unused]] auto& g_logger = RegisterDeclaration(g_defaultLogger, kEntityDeclaration,
                                                      iface::decl::kDefaultLogger,
                                                      g_coreRegisterUnit, g_coreModule);

}  // namespace

ErrorRef WriteLogLine(int target, int level, const char* text, int line, const char* file) {
  auto* logger = static_cast<LoggerObject*>(const_cast<void*>(ReadDeclaration(g_defaultLogger, nullptr)));
  if (logger == nullptr) return PrivateGetNullReturnError(kNullReturnNullPointer);
  const SourceLocation where{file, line, 0};
  // A line whose text cannot be made is not written; the caller gets the reason.
  String message;  // released when the line has been handed over
  if (ErrorRef error = message.SetCString(text, where)) return error;
  return Method<iface::Logger, iface::Logger::Write>(logger, target, message.Object(), &where, level);
}

}  // namespace core
