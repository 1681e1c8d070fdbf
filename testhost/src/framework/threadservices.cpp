// The thread-services interface: the caller's thread type, and jobs enqueued,
// waited for, cancelled and released.
#include <cmath>
#include <thread>

#include "testhost/current.h"
#include "testhost/framework_interfaces.h"
#include "testhost/kernel.h"

namespace testhost {
namespace {

using I = published::ThreadServices;
constexpr MethodId kThreadType{I::kName, "GetCurrentThreadType"};
constexpr MethodId kEnqueue{I::kName, "Enqueue"};
constexpr MethodId kWait{I::kName, "Wait"};
constexpr MethodId kGetResult{I::kName, "GetResult"};
constexpr MethodId kCancel{I::kName, "Cancel"};
constexpr MethodId kRemoveReference{I::kName, "RemoveJobReference"};

const std::thread::id g_mainThread = std::this_thread::get_id();

bool IsWaitMode(std::int32_t mode) {
  return mode == job::kWaitDefault || mode == job::kWaitReturnOnCancel || mode == job::kWaitPrivateBlocking ||
         mode == job::kWaitExternalEnqueue || mode == job::kWaitDontWait;
}

// A job as the plug-in hands it over: its implementation record names its routines,
// its count word holds at least the caller's reference.
bool CheckJob(Contract& contract, JobObject* job) {
  if (!contract.NotNull(job, "job")) return false;
  const auto* implementation = ReadAt<const unsigned char*>(job, job::kImplementation);
  if (!contract.NotNull(implementation, "job.implementation")) return false;
  contract.NotNull(ReadAt<void*>(implementation, job::kDestroy), "job.implementation.destroy");
  contract.NotNull(ReadAt<void*>(implementation, job::kRun), "job.implementation.run");
  contract.NotNull(ReadAt<void*>(implementation, job::kTypeName), "job.implementation.typeName");
  const auto* countWord = reinterpret_cast<const std::int64_t*>(reinterpret_cast<const char*>(job) - 8);
  contract.Check(__atomic_load_n(countWord, __ATOMIC_ACQUIRE) >= object::kReferenceUnit, "job",
                 "must carry a reference");
  return contract.Ok();
}

void CheckWait(Contract& contract, double timeout, std::int32_t mode) {
  contract.Check(IsWaitMode(mode), "mode", "must be a WAITMODE, was " + std::to_string(mode));
  contract.Check(!std::isnan(timeout) && timeout >= 0, "timeout", "must be a time of 0 or more");
}

std::int32_t ThreadType() {
  return std::this_thread::get_id() == g_mainThread ? job::kThreadMain : job::kThreadWorker;
}

ErrorHandle Enqueue(JobObject* job, QueueObject* queue) {
  Kernel& kernel = CurrentKernel();
  Contract contract;
  const bool jobOk = CheckJob(contract, job);
  if (!contract.Check(queue == kernel.Jobs().MainQueue(), "queue", "must be the main-thread queue") || !jobOk)
    return kernel.PluginError(error::kIllegalArgument, Describe(kEnqueue));
  using TypeName = const char* (*)(std::int32_t);
  const auto typeName = ReadAt<TypeName>(ReadAt<const unsigned char*>(job, job::kImplementation), job::kTypeName);
  const char* name = typeName(0);
  contract.Check(name != nullptr && std::string(name) == "ClosureJob", "job", "must answer its type name");
  contract.Null(typeName(1), "job (type name asked with a non-zero flag)");
  contract.Is(ReadAt<std::uintptr_t>(job, job::kState), std::uintptr_t{0}, "job.state");
  if (kernel.Jobs().Refuses()) return kernel.PluginError(error::kIllegalState, Describe(kEnqueue));
  kernel.Jobs().Enqueue(job);
  return nullptr;
}

bool Wait(JobObject* job, double timeout, std::int32_t mode) {
  Contract contract;
  CheckWait(contract, timeout, mode);
  if (!CheckJob(contract, job)) return false;
  return CurrentKernel().Jobs().Wait(job, timeout);
}

ErrorHandle GetResult(JobObject* job, double timeout, std::int32_t mode) {
  Contract contract;
  CheckWait(contract, timeout, mode);
  if (!CheckJob(contract, job)) return CurrentKernel().PluginError(error::kNullPointer, Describe(kGetResult));
  CurrentKernel().Jobs().Wait(job, timeout);
  return nullptr;
}

void Cancel(JobObject* job) {
  Contract contract;
  if (CheckJob(contract, job)) CurrentKernel().Jobs().Cancel(job);
}

void RemoveReference(JobObject* job) {
  Contract contract;
  if (CheckJob(contract, job)) CurrentKernel().Jobs().RemoveReference(job);
}

}  // namespace

void PublishThreadServices(Kernel& kernel) {
  kernel.PublishTable<I>({Recorded<kThreadType, &ThreadType, kAnyThread>(), Recorded<kEnqueue, &Enqueue, kAnyThread>(),
                          Recorded<kWait, &Wait, kAnyThread>(), Recorded<kGetResult, &GetResult, kAnyThread>(),
                          Recorded<kCancel, &Cancel, kAnyThread>(), Recorded<kRemoveReference, &RemoveReference, kAnyThread>()});
}

}  // namespace testhost
