#include "testhost/fault_log.h"

#include <cstdlib>
#include <stdexcept>

namespace testhost {

namespace {
FaultLog* g_current = nullptr;
}  // namespace

FaultLog::FaultLog() {
  if (g_current != nullptr) throw std::logic_error("only one test host at a time");
  g_current = this;
}

FaultLog::~FaultLog() {
  if (g_current == this) g_current = nullptr;
}

FaultLog& FaultLog::Current() {
  if (g_current == nullptr) std::abort();
  return *g_current;
}

void FaultLog::Fail(const std::string& message) {
  const std::lock_guard<std::mutex> lock(mutex_);
  failures_.push_back(message);
}

void FaultLog::Clear() {
  const std::lock_guard<std::mutex> lock(mutex_);
  failures_.clear();
}

}  // namespace testhost
