// Every report is written out before a handler may be needed, one per activity and
// signal, so that the handler only picks one and writes it.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <vector>

#include "crash_report.h"
#include "printable.h"
#include "testhost/system.h"

namespace cli {

namespace {

struct Signal {
  int number;
  const char* name;
  const char* meaning;
};
const Signal kCrashes[] = {{SIGSEGV, "SIGSEGV", "segmentation fault"}, {SIGBUS, "SIGBUS", "bus error"},
                           {SIGILL, "SIGILL", "illegal instruction"},  {SIGFPE, "SIGFPE", "arithmetic error"},
                           {SIGABRT, "SIGABRT", "abort"},              {SIGSYS, "SIGSYS", "bad system call"}};
constexpr int kCrashCount = sizeof kCrashes / sizeof kCrashes[0];
// Ctrl-C, a closed terminal, a request to end (as a timeout sends), a closed pipe,
// and the limits a shell can set: the process ends as the signal asks, tidily.
const int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGXCPU, SIGXFSZ};

constexpr int kActivities = static_cast<int>(Activity::kReadScene) + 1;
const char* const kDuring[kActivities] = {"", "load", "start", "command", "dialog message", "unload", "scene"};
const char* const kDoing[kActivities] = {"",
                                         "loading it",
                                         "starting it",
                                         "running its command",
                                         "sending its dialog a message",
                                         "unloading it",
                                         ""};

struct Report {
  std::string line;  // for the standard error
  std::string json;  // for the standard output, with --json
  int status = 1;
};

// Filled before the handlers are installed, then only read.
std::vector<Report> g_reports;
bool g_json = false;
volatile sig_atomic_t g_activity = 0;
// The standard output and error as the program found them: a call into the plug-in
// sends fd 1 into a capture file, reading a scene sends both away.
int g_out = STDOUT_FILENO, g_err = STDERR_FILENO;
char g_stack[64 * 1024];  // the handler's own stack: a runaway recursion has used up the thread's

Report MakeReport(Activity activity, const Signal& signal, const std::string& plugin, const std::string& scene) {
  const std::string what = std::string("(") + signal.name + ", " + signal.meaning + ")";
  Report report;
  if (activity == Activity::kReadScene) {
    report.line = Printable(scene) + ": the importer crashed reading it " + what;
    report.status = 2;
  } else if (activity == Activity::kNone) {
    report.line = "crashed " + what;
  } else {
    report.line = "the plug-in " + Printable(plugin) + " crashed " + what + " while the host was " +
                  kDoing[static_cast<int>(activity)];
  }
  nlohmann::json error = {{"error", report.line},
                          {"status", report.status},
                          {"signal", signal.name},
                          {"during", kDuring[static_cast<int>(activity)]},
                          {"plugin", plugin}};
  // The importer's crash is the scene file's failure: it is the file concerned.
  if (activity == Activity::kReadScene) {
    error["scene"] = scene;
    error["file"] = scene;
  }
  report.line = "statlume-host: " + report.line + "\n";
  report.json = error.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  return report;
}

void WriteAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written <= 0) return;
    done += static_cast<std::size_t>(written);
  }
}

void OnCrash(int number) {
  testhost::system::RemoveTrackedTemporaries();
  int index = 0;
  while (index + 1 < kCrashCount && kCrashes[index].number != number) ++index;
  const Report& report = g_reports[static_cast<std::size_t>(g_activity * kCrashCount + index)];
  if (g_json) WriteAll(g_out, report.json);
  WriteAll(g_err, report.line);
  _exit(report.status);
}

void OnInterruption(int number) {
  testhost::system::RemoveTrackedTemporaries();
  signal(number, SIG_DFL);
  raise(number);  // delivered as the handler returns: the process ends by the signal
}

}  // namespace

void GuardAgainstCrashes(const std::string& plugin, const std::string& scene, bool json) {
  g_reports.clear();
  for (int activity = 0; activity < kActivities; ++activity)
    for (const Signal& signal : kCrashes)
      g_reports.push_back(MakeReport(static_cast<Activity>(activity), signal, plugin, scene));
  g_json = json;
  g_out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  g_err = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  if (g_out < 0) g_out = STDOUT_FILENO;
  if (g_err < 0) g_err = STDERR_FILENO;

  stack_t stack{};
  stack.ss_sp = g_stack;
  stack.ss_size = sizeof g_stack;
  sigaltstack(&stack, nullptr);
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_ONSTACK | SA_RESETHAND;
  action.sa_handler = OnCrash;
  for (const Signal& signal : kCrashes) sigaction(signal.number, &action, nullptr);
  action.sa_handler = OnInterruption;
  for (int number : kInterruptions) {
    struct sigaction before {};
    // A signal the caller ignores (a job started in the background) stays ignored.
    if (sigaction(number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    sigaction(number, &action, nullptr);
  }
}

Doing::Doing(Activity activity) : previous_(static_cast<Activity>(g_activity)) {
  std::cout.flush();
  std::fflush(stdout);
  g_activity = static_cast<int>(activity);
}

Doing::~Doing() { g_activity = static_cast<int>(previous_); }

}  // namespace cli
