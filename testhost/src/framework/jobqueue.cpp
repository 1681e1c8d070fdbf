// The job-queue interface: the host's main-thread queue.
#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::JobQueue;
constexpr MethodId kMainQueue{I::kName, "GetMainThreadQueue"};
constexpr MethodId kFree{I::kName, "Free"};

QueueObject* MainQueue() { return CurrentKernel().Jobs().MainQueue(); }

// The queue belongs to the host: a caller that drops its last reference freed it.
void Free(QueueObject* queue) {
  Contract contract;
  if (!contract.NotNull(queue, "queue")) return;
  CurrentKernel().FreeByPlugin(queue, Describe(kFree));
}

}  // namespace

void PublishJobQueue(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kMainQueue, &MainQueue, kAnyThread>(), Recorded<kFree, &Free, kAnyThread>()});
}

}  // namespace testhost
