// The settings file through the wide file calls: its path is path text, so
// the program's folder may be named in any language. Its content is text in
// the system code page, like everything the program stores, whatever an
// editor saved it in.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/path_text_win32.h"
#include "ui/settings_file.h"

namespace kelvary {
namespace {

class Win32SettingsFileAccess final : public SettingsFileAccess {
 public:
  ReadStatus ReadAll(const std::string& path, std::string& content) override {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return StatusOfFailedOpen(GetLastError());
    content.assign(kSettingsReadLimit, '\0');
    std::size_t filled = 0;
    DWORD got = 0;
    // A read that fails part-way keeps what came before it.
    while (filled < content.size() &&
           ReadFile(file, content.data() + filled, static_cast<DWORD>(content.size() - filled), &got,
                    nullptr) &&
           got > 0) {
      filled += got;
    }
    content.resize(filled);
    CloseHandle(file);
    return ReadStatus::Read;
  }

  void CreateNew(const std::string& path, std::string_view content) override {
    Write(path, content, CREATE_NEW);
  }

  bool Replace(const std::string& path, std::string_view content) override {
    return Write(path, content, CREATE_ALWAYS);
  }

  std::optional<std::uint64_t> LastWriteTime(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return std::nullopt;
    }
    return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  }

  void MakeFolder(const std::string& folder) override { CreateDirectoryW(WidePath(folder).c_str(), nullptr); }

 private:
  static ReadStatus StatusOfFailedOpen(DWORD error) {
    switch (error) {
      case ERROR_FILE_NOT_FOUND:
        return ReadStatus::FileMissing;
      case ERROR_PATH_NOT_FOUND:
        return ReadStatus::FolderMissing;
      default:
        return ReadStatus::Failed;
    }
  }

  static bool Write(const std::string& path, std::string_view content, DWORD disposition) {
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    const BOOL closed = CloseHandle(file);
    return wrote && closed && written == content.size();
  }
};

}  // namespace

std::string Utf16LeToSystemCodePage(std::string_view bytes) {
  std::wstring wide(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  const int wide_length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wide_length, text.data(), size, nullptr, nullptr);
  return text;
}

std::unique_ptr<SettingsFileAccess> OpenSettingsFileAccess() {
  return std::make_unique<Win32SettingsFileAccess>();
}

}  // namespace kelvary
