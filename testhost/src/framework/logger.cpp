// The logger: the plug-in's console lines go through Write of the default logger.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::Logger;
constexpr MethodId kWrite{I::kName, "Write"};

ErrorHandle Write(void* logger, std::int32_t target, const FrameworkObject* text, const Location* where,
                  std::int32_t level) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  contract.Check(kernel.Objects().Find(logger) != nullptr && kernel.Objects().Find(logger)->kind == "default logger",
                 "logger", "must be the default logger");
  contract.Is(target, kConsoleTarget, "target");
  contract.Is(level, kConsoleLevel, "level");
  contract.NotNull(text, "text");
  contract.NotNull(where, "where");
  if (kernel.LoggerWriteFails()) return kernel.PluginError(error::kIllegalState, Describe(kWrite));
  kernel.Log(LogLine{target, level, kernel.StringText(text),
                     where != nullptr && where->file != nullptr ? where->file : "", where != nullptr ? where->line : 0});
  return nullptr;
}

}  // namespace

void PublishLogger(Kernel& kernel) { kernel.PublishTable<I>({Recorded<kWrite, &Write, kAnyThread>()}); }

}  // namespace testhost
