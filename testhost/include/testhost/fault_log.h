#pragma once
// The faults the host found in the plug-in: trapped entries, broken contracts,
// misused objects. Each fails the test or case that drives the host. One log is
// current at a time, the running host's, so that every entry and method it serves
// can report to it.
#include <mutex>
#include <string>
#include <vector>

namespace testhost {

class FaultLog {
 public:
  FaultLog();  // becomes the current log
  ~FaultLog();
  FaultLog(const FaultLog&) = delete;
  FaultLog& operator=(const FaultLog&) = delete;

  static FaultLog& Current();  // aborts when no host runs

  // Faults may be found on any thread (jobs are posted from workers).
  void Fail(const std::string& message);
  const std::vector<std::string>& Failures() const { return failures_; }
  void Clear();

 private:
  std::mutex mutex_;
  std::vector<std::string> failures_;
};

}  // namespace testhost
