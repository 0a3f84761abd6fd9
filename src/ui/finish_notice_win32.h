#pragma once
// How the window tells that calculations have finished: a notification from
// its own icon in the notification area (Windows 10 and 11 show it as a
// toast), and its taskbar button flashing while it is not in front.
#include <windows.h>

#include <string>
#include <vector>

namespace kelvary {

class FinishNotice {
 public:
  // Each window has its own icon, told apart by the window it belongs to.
  static constexpr UINT kIconId = 1;

  FinishNotice() = default;
  ~FinishNotice() { Remove(); }
  FinishNotice(const FinishNotice&) = delete;
  FinishNotice& operator=(const FinishNotice&) = delete;

  // One notification naming every calculation in `finished`; nothing when
  // it is empty. The icon is added at the first.
  void Show(HWND owner, const std::vector<std::string>& finished);
  // Takes the icon out of the notification area, if it is there.
  void Remove();

 private:
  HWND owner_ = nullptr;  // the window whose icon is in the area
};

}  // namespace kelvary
