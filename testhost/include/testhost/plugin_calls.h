#pragma once
// Calls into the plug-in. While one is under way the plug-in's standard output is
// captured; when the outermost one returns, the host checks what the plug-in may
// not keep past it.
#include <functional>
#include <string>
#include <utility>

namespace testhost {

// Redirects standard output into a buffer while at least one scope is open.
class StdoutCapture {
 public:
  StdoutCapture();
  ~StdoutCapture();
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;
  static std::string& Text();

 private:
  static int depth_;
  static int saved_;
  static int file_;
};

class PluginCalls {
 public:
  explicit PluginCalls(std::function<void()> afterOutermost) : afterOutermost_(std::move(afterOutermost)) {}
  PluginCalls(const PluginCalls&) = delete;
  PluginCalls& operator=(const PluginCalls&) = delete;

  // Runs `body` as a call into the plug-in.
  template <typename F>
  auto Into(F&& body) {
    struct Scope {
      PluginCalls& calls;
      StdoutCapture capture;
      explicit Scope(PluginCalls& c) : calls(c) { ++calls.depth_; }
      ~Scope() {
        if (--calls.depth_ == 0) calls.afterOutermost_();
      }
    } scope(*this);
    return body();
  }

 private:
  std::function<void()> afterOutermost_;
  int depth_ = 0;
};

}  // namespace testhost
