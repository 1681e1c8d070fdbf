#include <algorithm>

#include "testhost/entry.h"
#include "testhost/current.h"
#include "testhost/fault_log.h"
#include "testhost/kernel.h"

namespace testhost {

namespace {
thread_local std::vector<const void*> t_chain;  // the operations under way, outermost first
thread_local bool t_reported = false;           // this runaway chain is on record already
}  // namespace

Reentry::Reentry(const EntryId& entry) {
  if (!Enter(&entry)) Refuse(&entry, Describe(entry));
}

Reentry::Reentry(const MethodId& method) {
  if (!Enter(&method)) Refuse(&method, Describe(method));
}

Reentry::~Reentry() {
  t_chain.pop_back();
  if (t_chain.empty()) t_reported = false;
}

bool Reentry::Enter(const void* id) {
  t_chain.push_back(id);
  return t_chain.size() <= kDeepest || std::find(t_chain.begin(), t_chain.end() - 1, id) == t_chain.end() - 1;
}

void Reentry::Refuse(const void* id, const std::string& name) {
  refused_ = true;
  if (t_reported) return;
  t_reported = true;
  FaultLog::Current().Fail(name + ": runaway recursion: the plug-in called it " +
                       std::to_string(std::count(t_chain.begin(), t_chain.end(), id)) +
                       " times, each from a callback of the call before; the host refused the last");
}

ErrorHandle RefusalError(const MethodId& method) {
  return CurrentKernel().PluginError(error::kIllegalState, Describe(method) + ", refused: runaway recursion");
}

}  // namespace testhost
