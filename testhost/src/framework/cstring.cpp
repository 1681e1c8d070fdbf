// The C string interface: C text the string interface handed out goes back here.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::CString;
constexpr MethodId kFree{I::kName, "Free"};

void Free(char* text) {
  Contract contract;
  if (!contract.NotNull(text, "text")) return;
  CurrentKernel().Release(text, Describe(kFree));
}

}  // namespace

void PublishCString(Kernel& kernel) { kernel.PublishTable<I>({Recorded<kFree, &Free, kAnyThread>()}); }

}  // namespace testhost
