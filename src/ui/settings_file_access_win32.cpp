// The settings file through the ANSI file calls: its path is text in the
// system code page, like everything the program stores.
#include <windows.h>

#include <string>

#include "ui/settings_file.h"

namespace kelvary {
namespace {

constexpr DWORD kReadChunk = 4096;

class Win32SettingsFileAccess final : public SettingsFileAccess {
 public:
  ReadStatus ReadAll(const std::string& path, std::string& content) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return StatusOfFailedOpen(GetLastError());
    content.clear();
    char chunk[kReadChunk];
    DWORD got = 0;
    // A read that fails part-way keeps what came before it.
    while (ReadFile(file, chunk, kReadChunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(file);
    return ReadStatus::Read;
  }

  void CreateNew(const std::string& path, std::string_view content) override {
    Write(path, content, CREATE_NEW);
  }

  void Replace(const std::string& path, std::string_view content) override {
    Write(path, content, CREATE_ALWAYS);
  }

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

  static void Write(const std::string& path, std::string_view content, DWORD disposition) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
};

}  // namespace

std::unique_ptr<SettingsFileAccess> OpenSettingsFileAccess() {
  return std::make_unique<Win32SettingsFileAccess>();
}

}  // namespace kelvary
