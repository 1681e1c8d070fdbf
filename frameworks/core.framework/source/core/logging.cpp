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
  const String message(text);  // released when the line has been handed over
  auto* logger = static_cast<LoggerObject*>(const_cast<void*>(ReadDeclaration(g_defaultLogger, nullptr)));
  if (logger == nullptr) return PrivateGetNullReturnError(kNullReturnNullPointer);
  const SourceLocation where{file, line, 0};
  return Method<iface::Logger, iface::Logger::Write>(logger, target, message.Object(), &where, level);
}

}  // namespace core
