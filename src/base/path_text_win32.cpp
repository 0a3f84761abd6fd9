#include <windows.h>

#include "base/path_text.h"
#include "base/path_text_win32.h"

namespace kelvary {
namespace {

constexpr wchar_t kSeparator = L'\\';

std::wstring WideFrom(UINT code_page, std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), length, wide.data(), size);
  return wide;
}

// Nothing when the code page has no character for one of the text's; UTF-8
// holds them all.
std::optional<std::string> TextFrom(UINT code_page, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  BOOL* lossy_out = code_page == CP_UTF8 ? nullptr : &lossy;  // CP_UTF8 refuses the flag
  const int size = WideCharToMultiByte(code_page, 0, wide.data(), length, nullptr, 0, nullptr, lossy_out);
  if (size <= 0 || lossy) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

// The short form of an existing folder; empty when it has none.
std::wstring ShortFolderName(const std::wstring& folder) {
  const DWORD size = GetShortPathNameW(folder.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring short_name(size, L'\0');
  const DWORD length = GetShortPathNameW(folder.c_str(), short_name.data(), size);
  if (length == 0 || length >= size) return {};
  short_name.resize(length);
  return short_name;
}

}  // namespace

std::wstring WidePath(std::string_view path) { return WideFrom(CP_UTF8, path); }

std::string PathFromWide(std::wstring_view wide) { return TextFrom(CP_UTF8, wide).value_or(std::string()); }

std::string PathFromSystemText(std::string_view text) { return PathFromWide(WideFrom(CP_ACP, text)); }

std::optional<std::string> PathInSystemText(const std::string& path) {
  const std::wstring wide = WidePath(path);
  if (std::optional<std::string> as_is = TextFrom(CP_ACP, wide)) return as_is;
  // The file itself need not exist yet (a copy about to be downloaded): its
  // folder's short name and the file's own name.
  const std::size_t separator = wide.find_last_of(kSeparator);
  if (separator == std::wstring::npos) return std::nullopt;
  const std::wstring folder = ShortFolderName(wide.substr(0, separator));
  if (folder.empty()) return std::nullopt;
  return TextFrom(CP_ACP, folder + wide.substr(separator));
}

}  // namespace kelvary
