#pragma once
// What the host must have seen of the workers' jobs once they have ended: every
// job it took run exactly once and in order, the host state set once per job run,
// jobs built in place waited for without limit, and every job's reference handed
// back.
#include "cases.h"
#include "job_posting.h"
#include "testhost/host.h"

namespace validate {

// Fails `result` where the host's record disagrees with the workers' `total`;
// `ran` is the number of jobs the main thread ran.
void CheckJobAccounting(testhost::Host& host, const Tally& total, long ran, CaseResult& result);

}  // namespace validate
