#include "ui/desktop_win32.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "base/path_text_win32.h"

namespace kelvary {
namespace {

// Global memory holding `text` and its NUL, as CF_TEXT wants it; null when
// none can be had.
HGLOBAL CopyToGlobalMemory(std::string_view text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(memory));
  if (!bytes) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

bool StartProcess(const std::string& command_line) {
  // CreateProcessW may write into the command line it is given.
  std::wstring writable = WidePath(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool PutTextOnClipboard(HWND owner, std::string_view text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL memory = CopyToGlobalMemory(text);
  const bool placed = memory && SetClipboardData(CF_TEXT, memory) != nullptr;
  // The clipboard owns the memory only once it has taken it.
  if (memory && !placed) GlobalFree(memory);
  CloseClipboard();
  return placed;
}

void OpenInBrowser(const std::string& address) {
  ShellExecuteA(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kelvary
