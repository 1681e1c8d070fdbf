#pragma once
// The host application's general services as the test host keeps them: its own
// folder, the message boxes it showed, the files it opened with the system, its
// state word, and the interactions and range messages the dialogs asked for.
#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testhost {

struct ShownRangeMessage {
  std::int32_t type = 0;
  double x = 0, y = 0;
  std::int32_t format = 0;
};

class Application {
 public:
  Application() : mainThread_(std::this_thread::get_id()) {}

  // The thread the host was made on; some entries may only be called there.
  bool OnMainThread() const { return std::this_thread::get_id() == mainThread_; }

  // --- how the host answers ---
  std::string folder = "/opt/hostapp";
  std::int32_t messageBoxAnswer = 1;  // the button that closed a message box
  bool opensFiles = true;             // false: opening a file with the system fails

  // --- what the host saw ---
  std::vector<std::pair<std::string, std::int32_t>> messageBoxes;  // text, style
  std::vector<std::string> openedFiles;
  std::vector<std::int32_t> hostStates;  // values of the state entry, in order
  int interactions = 0;
  std::vector<ShownRangeMessage> rangeMessages;

 private:
  std::thread::id mainThread_;
};

}  // namespace testhost
