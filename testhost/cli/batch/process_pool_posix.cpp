// Processes started with posix_spawn, their output read through pipes with poll.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "options.h"
#include "process_pool.h"

extern char** environ;

namespace batch {

namespace {

// The running processes, for the interruption handler: one slot per process that
// may run at once, 0 when free. Lock-free atomics are safe in a handler.
std::atomic<pid_t> g_running[cli::kMostJobs];
std::atomic<const char*> g_interruptionText{""};

const int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

void OnInterruption(int number) {
  for (std::atomic<pid_t>& slot : g_running)
    if (const pid_t pid = slot.load(); pid > 0) kill(pid, SIGTERM);
  for (std::atomic<pid_t>& slot : g_running)
    if (const pid_t pid = slot.load(); pid > 0) waitpid(pid, nullptr, 0);
  const char* text = g_interruptionText.load();
  if (text[0] != '\0' && write(STDERR_FILENO, text, strlen(text)) < 0) {
  }
  signal(number, SIG_DFL);
  raise(number);  // delivered as the handler returns: the program ends by the signal
}

// Installs the handler for the interruptions the caller does not ignore, and
// puts back what was there when it goes.
class InterruptionGuard {
 public:
  InterruptionGuard() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    for (int number : kInterruptions) sigaddset(&action.sa_mask, number);  // one handler at a time
    action.sa_handler = OnInterruption;
    for (std::size_t i = 0; i < std::size(kInterruptions); ++i) {
      sigaction(kInterruptions[i], nullptr, &before_[i]);
      // A signal the caller ignores (a job started in the background) stays ignored.
      if (before_[i].sa_handler != SIG_IGN) sigaction(kInterruptions[i], &action, nullptr);
    }
  }
  ~InterruptionGuard() {
    for (std::size_t i = 0; i < std::size(kInterruptions); ++i) sigaction(kInterruptions[i], &before_[i], nullptr);
  }
  InterruptionGuard(const InterruptionGuard&) = delete;
  InterruptionGuard& operator=(const InterruptionGuard&) = delete;

 private:
  struct sigaction before_[std::size(kInterruptions)] {};
};

struct Running {
  std::size_t index = 0;
  std::size_t slot = 0;
  pid_t pid = 0;
  int pipes[2] = {-1, -1};  // the read ends of its standard output and error
  FileProcessEnd end;
};

// Starts a command with its output and errors into pipes; false with
// `end.startProblem` set when it cannot.
bool Start(const std::vector<std::string>& command, Running& running) {
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    running.end.startProblem = strerror(errno);
    return false;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    running.end.startProblem = strerror(errno);
    close(out[0]);
    close(out[1]);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<std::string> words = command;
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int failed = posix_spawn(&running.pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (failed != 0) {
    running.end.startProblem = strerror(failed);
    close(out[0]);
    close(err[0]);
    return false;
  }
  running.pipes[0] = out[0];
  running.pipes[1] = err[0];
  return true;
}

// Reads what is there; closes the pipe at its end.
void Drain(int& fd, std::string& text) {
  char buffer[65536];
  const ssize_t got = read(fd, buffer, sizeof buffer);
  if (got > 0) {
    text.append(buffer, static_cast<std::size_t>(got));
  } else if (got == 0 || errno != EINTR) {
    close(fd);
    fd = -1;
  }
}

// Reaps the process once both its pipes have closed; false while it lives.
bool Reaped(Running& running) {
  if (running.pipes[0] >= 0 || running.pipes[1] >= 0) return false;
  int status = 0;
  if (waitpid(running.pid, &status, WNOHANG) != running.pid) return false;
  g_running[running.slot].store(0);
  running.end.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  running.end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return true;
}

}  // namespace

void SetInterruptionText(const char* text) { g_interruptionText.store(text); }

int CoreCount() {
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) > 0) return CPU_COUNT(&cores);
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<int>(online) : 1;
}

void RunProcesses(const std::vector<std::vector<std::string>>& commands, int atOnce,
                  const std::function<void(std::size_t, FileProcessEnd&&)>& ended,
                  const std::function<void(std::size_t)>& waiting) {
  const InterruptionGuard guard;
  const std::size_t most = static_cast<std::size_t>(std::max(1, std::min(atOnce, cli::kMostJobs)));
  std::vector<Running> running;
  std::vector<bool> slotUsed(most, false);
  std::size_t next = 0;
  while (next < commands.size() || !running.empty()) {
    while (running.size() < most && next < commands.size()) {
      Running process;
      process.index = next++;
      process.slot = static_cast<std::size_t>(std::find(slotUsed.begin(), slotUsed.end(), false) - slotUsed.begin());
      if (!Start(commands[process.index], process)) {
        ended(process.index, std::move(process.end));
        continue;
      }
      slotUsed[process.slot] = true;
      g_running[process.slot].store(process.pid);
      running.push_back(std::move(process));
    }
    std::vector<pollfd> watched;
    bool closing = false;  // a process whose pipes have closed is about to end
    for (const Running& process : running) {
      closing = closing || (process.pipes[0] < 0 && process.pipes[1] < 0);
      for (int fd : process.pipes)
        if (fd >= 0) watched.push_back({fd, POLLIN, 0});
    }
    const int ready = poll(watched.data(), watched.size(), closing ? 2 : 200);
    for (Running& process : running) {
      if (ready > 0)
        for (int stream = 0; stream < 2; ++stream)
          for (const pollfd& fd : watched)
            if (fd.fd == process.pipes[stream] && fd.revents != 0)
              Drain(process.pipes[stream], stream == 0 ? process.end.out : process.end.err);
    }
    bool any = false;
    for (auto process = running.begin(); process != running.end();) {
      if (!Reaped(*process)) {
        ++process;
        continue;
      }
      slotUsed[process->slot] = false;
      ended(process->index, std::move(process->end));
      process = running.erase(process);
      any = true;
    }
    if (!any) waiting(running.size());
  }
}

}  // namespace batch
