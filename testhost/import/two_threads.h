#pragma once
// Work that splits in two halves: on a machine of two cores or more, the second
// half runs on a thread of its own while this thread does the first.
#include <exception>
#include <system_error>
#include <thread>

namespace testhost::input {

// Calls work(0) and work(1): side by side when `worthIt` (thread start-up costs
// tens of microseconds) and the machine has a second core, else one after the
// other, as also when no thread can be had (a tight memory budget). What either
// half throws is thrown here once both are done.
template <typename Work>
void OnTwoThreads(bool worthIt, Work&& work) {
  auto inTurn = [&work] {
    work(0);
    work(1);
  };
  if (!worthIt || std::thread::hardware_concurrency() < 2) return inTurn();
  std::exception_ptr secondFailed;
  std::thread second;
  try {
    second = std::thread([&] {
      try {
        work(1);
      } catch (...) {
        secondFailed = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    return inTurn();
  }
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
