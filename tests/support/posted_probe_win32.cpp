#include "support/posted_probe_win32.h"

#include <utility>

namespace kelvary::test {
namespace {

constexpr const char* kProbeClass = "KelvaryTestProbe";
constexpr UINT kRunAction = WM_APP + 1;
constexpr UINT_PTR kRepeatTimer = 1;

void RegisterProbeClass(WNDPROC procedure) {
  WNDCLASSA existing{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), kProbeClass, &existing)) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kProbeClass;
  RegisterClassA(&wc);
}

}  // namespace

PostedProbe::PostedProbe() {
  RegisterProbeClass(&PostedProbe::ProbeProc);
  window_ = CreateWindowExA(0, kProbeClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PostedProbe::~PostedProbe() { DestroyWindow(window_); }

void PostedProbe::Post(std::function<void()> action) {
  action_ = std::move(action);
  ran_ = false;
  PostMessageA(window_, kRunAction, 0, 0);
}

void PostedProbe::Repeat(UINT interval_ms, std::function<void()> action) {
  action_ = std::move(action);
  ran_ = false;
  SetTimer(window_, kRepeatTimer, interval_ms, nullptr);
}

void PostedProbe::Stop() { KillTimer(window_, kRepeatTimer); }

LRESULT CALLBACK PostedProbe::ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* probe = reinterpret_cast<PostedProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  const bool ours = message == kRunAction || (message == WM_TIMER && wparam == kRepeatTimer);
  if (!ours || !probe) return DefWindowProcA(window, message, wparam, lparam);
  probe->ran_ = true;
  if (probe->action_) probe->action_();
  return 0;
}

}  // namespace kelvary::test
