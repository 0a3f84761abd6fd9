#pragma once
// Looks at a window from inside its own message handling: an action posted
// now runs when the thread next handles its queue, for instance inside the
// modal loop of a dialog the operation under test opened.
#include <windows.h>

#include <functional>
#include <utility>

namespace kelvary::test {

class PostedProbe {
 public:
  PostedProbe() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PostedProbe::ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // refused, harmlessly, once registered
    window_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~PostedProbe() { DestroyWindow(window_); }
  PostedProbe(const PostedProbe&) = delete;
  PostedProbe& operator=(const PostedProbe&) = delete;

  // Queues `action`, behind every message already queued.
  void Post(std::function<void()> action) {
    action_ = std::move(action);
    ran_ = false;
    PostMessageA(window_, kRunAction, 0, 0);
  }
  bool Ran() const { return ran_; }

 private:
  static constexpr const char* kClass = "KelvaryTestProbe";
  static constexpr UINT kRunAction = WM_APP + 1;

  static LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* probe = reinterpret_cast<PostedProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != kRunAction || !probe) return DefWindowProcA(window, message, wparam, lparam);
    probe->ran_ = true;
    if (probe->action_) probe->action_();
    return 0;
  }

  HWND window_ = nullptr;
  std::function<void()> action_;
  bool ran_ = false;
};

}  // namespace kelvary::test
