// The terminal session, driven through a pseudo-terminal as a person types.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

class Terminal {
 public:
  Terminal() {
    pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      execl(STATLUME_HOST_PROGRAM, STATLUME_HOST_PROGRAM, "--interactive", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (fd_ >= 0) close(fd_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool Started() const { return pid_ > 0; }
  void Type(const std::string& text) { ASSERT_EQ(write(fd_, text.data(), text.size()), static_cast<ssize_t>(text.size())); }
  // Reads until `text` has appeared since the last call, or ten seconds passed.
  std::string ReadUntil(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen_.find(text, from_) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd ready{fd_, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t got = read(fd_, buffer, sizeof(buffer));
      if (got <= 0) break;
      seen_.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t at = seen_.find(text, from_);
    std::string part = seen_.substr(from_, at == std::string::npos ? std::string::npos : at + text.size() - from_);
    from_ = at == std::string::npos ? seen_.size() : at + text.size();
    return part;
  }
  int Status() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  int fd_ = -1;
  pid_t pid_ = -1;
  std::string seen_;
  std::size_t from_ = 0;
};

}  // namespace

TEST(Interactive, TypedEventsChangeTheDialog) {
  Terminal terminal;
  if (!terminal.Started()) GTEST_SKIP() << "no pseudo-terminal can be opened here (is /dev/pts mounted?)";
  const std::string first = terminal.ReadUntil("statlume> ");
  EXPECT_NE(first.find("[x] Include Child Objects"), std::string::npos) << first;
  EXPECT_NE(first.find("| Objects              6           4"), std::string::npos) << first;

  terminal.Type("children off\n");
  const std::string off = terminal.ReadUntil("statlume> ");
  EXPECT_NE(off.find("[ ] Include Child Objects"), std::string::npos) << off;
  EXPECT_NE(off.find("| Objects              1           0"), std::string::npos) << off;

  terminal.Type("select Robot/Nose\n");
  const std::string unknown = terminal.ReadUntil("statlume> ");
  EXPECT_NE(unknown.find("no object at path 'Robot/Nose'"), std::string::npos) << unknown;

  terminal.Type("pause on\n");
  EXPECT_NE(terminal.ReadUntil("statlume> ").find("[x] Pause"), std::string::npos);
  terminal.Type("quit\n");
  EXPECT_NE(terminal.ReadUntil("no host faults").find("no host faults"), std::string::npos);
  EXPECT_EQ(terminal.Status(), 0);
}
