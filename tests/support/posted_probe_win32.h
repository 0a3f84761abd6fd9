#pragma once
// Looks at a window from inside its own message handling: an action posted
// now runs when the thread next handles its queue, for instance during a
// yield of a running check, in the middle of the operation under test.
#include <windows.h>

#include <functional>

namespace kelvary::test {

class PostedProbe {
 public:
  PostedProbe();
  ~PostedProbe();
  PostedProbe(const PostedProbe&) = delete;
  PostedProbe& operator=(const PostedProbe&) = delete;

  // Queues `action`, behind every message already queued.
  void Post(std::function<void()> action);
  // Runs `action` at every tick of a timer of `interval_ms`, whenever the
  // thread handles its queue, until Stop or the probe's end.
  void Repeat(UINT interval_ms, std::function<void()> action);
  void Stop();
  bool Ran() const { return ran_; }

 private:
  static LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
  std::function<void()> action_;
  bool ran_ = false;
};

}  // namespace kelvary::test
