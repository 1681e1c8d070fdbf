#include "job_accounting.h"
#include "testhost/host.h"

#include <algorithm>
#include <vector>

namespace validate {

namespace {

constexpr double kNoTimeLimit = 1.7976931348623157e308;
constexpr const char* kThreadServices = "net.hostapp.threadservices";
const testhost::MethodId kEnqueue{kThreadServices, "Enqueue"};
const testhost::MethodId kWait{kThreadServices, "Wait"};
const testhost::MethodId kGetResult{kThreadServices, "GetResult"};
const testhost::MethodId kCancel{kThreadServices, "Cancel"};
const testhost::MethodId kRemoveReference{kThreadServices, "RemoveJobReference"};

// Each worker posts a begin before its end and the queue keeps their order: no
// prefix of the run may hold more ends than begins.
bool InOrder(const std::vector<std::int32_t>& states) {
  long open = 0;
  for (std::int32_t state : states)
    if ((open += state == kBegin ? 1 : -1) < 0) return false;
  return true;
}

}  // namespace

void CheckJobAccounting(testhost::Host& host, const Tally& total, long ran, CaseResult& result) {
  testhost::JobSystem& jobs = host.Framework().Jobs();
  const long accepted = total.handedOver - total.refused;
  const std::vector<std::int32_t>& states = host.ApplicationModel().hostStates;
  const long begins = std::count(states.begin(), states.end(), kBegin);
  const long ends = std::count(states.begin(), states.end(), kEnd);
  if (begins != total.begins || ends != total.ends)
    result.Fail("the host state was set " + std::to_string(begins) + " times to 3 and " + std::to_string(ends) +
                " times to 2, for " + std::to_string(total.begins) + " and " + std::to_string(total.ends) +
                " jobs the host took");
  if (ran != accepted || jobs.Enqueued() != accepted)
    result.Fail(std::to_string(accepted) + " jobs taken by the host, " + std::to_string(jobs.Enqueued()) +
                " queued, " + std::to_string(ran) + " run");
  // A begin refused or given up leaves its end unmatched: the order is judged only
  // when every job ran.
  if (total.refused == 0 && total.dropped == 0 && !InOrder(states))
    result.Fail("the host state was ended before it was begun: jobs ran out of order");
  // A job built in place is waited for without limit and collected; a job on the
  // heap is never waited for and its reference is handed back at once.
  const auto waits = host.CallsTo(kWait);
  const auto results = host.CallsTo(kGetResult);
  for (const auto* calls : {&waits, &results})
    for (const testhost::Call& call : *calls)
      if (call.Float(1) != kNoTimeLimit || call.Int(2) != 0) {
        result.Fail("a job was waited for with a limit or a mode other than DEFAULT");
        break;
      }
  if (static_cast<long>(waits.size()) != total.waited || static_cast<long>(results.size()) != total.waited)
    result.Fail(std::to_string(waits.size()) + " waits and " + std::to_string(results.size()) + " results for " +
                std::to_string(total.waited) + " jobs built in place");
  const long onHeap = total.handedOver - (total.inPlace - total.dropped);
  if (static_cast<long>(host.CountCalls(kRemoveReference)) != onHeap)
    result.Fail(std::to_string(host.CountCalls(kRemoveReference)) + " job references handed back for " +
                std::to_string(onHeap) + " jobs on the heap");
  if (static_cast<long>(host.CountCalls(kEnqueue)) != total.handedOver)
    result.Fail(std::to_string(host.CountCalls(kEnqueue)) + " jobs enqueued for " + std::to_string(total.handedOver) +
                " handed over");
  if (host.CountCalls(kCancel) != 0) result.Fail("a job was cancelled");
  if (jobs.Queued() != 0 || jobs.Held() != 0) result.Fail("the host still holds jobs after the workers ended");
}

}  // namespace validate
