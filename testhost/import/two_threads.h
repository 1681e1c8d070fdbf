#pragma once
// Work that splits in two halves: on a machine of two cores or more, the second
// half runs on a thread of its own while this thread does the first.
#include <exception>
#include <thread>

namespace testhost::input {

// Calls work(0) and work(1): side by side when `worthIt` (thread start-up costs
// tens of microseconds) and the machine has a second core, else one after the
// other. What either half throws is thrown here once both are done.
template <typename Work>
void OnTwoThreads(bool worthIt, Work&& work) {
  if (!worthIt || std::thread::hardware_concurrency() < 2) {
    work(0);
    work(1);
    return;
  }
  std::exception_ptr secondFailed;
  std::thread second([&] {
    try {
      work(1);
    } catch (...) {
      secondFailed = std::current_exception();
    }
  });
  try {
    work(0);
  } catch (...) {
    second.join();
    throw;
  }
  second.join();
  if (secondFailed) std::rethrow_exception(secondFailed);
}

}  // namespace testhost::input
