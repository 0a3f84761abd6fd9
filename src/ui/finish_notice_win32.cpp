#include "ui/finish_notice_win32.h"

#include <shellapi.h>

namespace kelvary {
namespace {

constexpr const char* kNoticeTitle = "Kelvary";
constexpr char kLineBreak = '\n';

NOTIFYICONDATAA IconData(HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = FinishNotice::kIconId;
  return data;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += kLineBreak;
    text += line;
  }
  return text;
}

// The window's own small icon, as its title bar shows it.
bool AddIcon(HWND owner) {
  NOTIFYICONDATAA data = IconData(owner);
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(owner, GCLP_HICONSM));
  lstrcpynA(data.szTip, kNoticeTitle, static_cast<int>(sizeof data.szTip));
  return Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

}  // namespace

void FinishNotice::Show(HWND owner, const std::vector<std::string>& finished) {
  if (finished.empty()) return;
  if (!owner_ && AddIcon(owner)) owner_ = owner;
  if (owner_) {
    NOTIFYICONDATAA data = IconData(owner_);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    lstrcpynA(data.szInfoTitle, kNoticeTitle, static_cast<int>(sizeof data.szInfoTitle));
    // Cut to what the notification holds; the list says the rest.
    lstrcpynA(data.szInfo, Joined(finished).c_str(), static_cast<int>(sizeof data.szInfo));
    Shell_NotifyIconA(NIM_MODIFY, &data);
  }
  // Until the user brings the window to the front.
  if (GetForegroundWindow() != owner) {
    FLASHWINFO flash{sizeof flash, owner, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
  }
}

void FinishNotice::Remove() {
  if (!owner_) return;
  NOTIFYICONDATAA data = IconData(owner_);
  Shell_NotifyIconA(NIM_DELETE, &data);
  owner_ = nullptr;
}

}  // namespace kelvary
