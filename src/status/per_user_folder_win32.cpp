#include <windows.h>
#include <shlobj.h>

#include <string>

#include "status/per_user_folder.h"

namespace kelvary {
namespace {

constexpr const char* kKelvaryFolder = "\\Kelvary";
constexpr const char* kProbeNamePrefix = "\\~kelvary-probe-";

// The path as text of the system code page, like every path the program
// handles; empty when the code page cannot hold it.
std::string InCodePage(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}

// A profile named in characters outside the code page may still have a
// short name that it can hold.
std::string FolderInCodePage(const std::wstring& folder) {
  std::string text = InCodePage(folder);
  if (!text.empty()) return text;
  const DWORD size = GetShortPathNameW(folder.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring short_name(size, L'\0');
  const DWORD length = GetShortPathNameW(folder.c_str(), short_name.data(), size);
  if (length == 0 || length >= size) return {};
  short_name.resize(length);
  return InCodePage(short_name);
}

// A file of this process's own name, gone again when closed.
bool CanCreateFileIn(const std::string& folder) {
  const std::string probe = folder + kProbeNamePrefix + std::to_string(GetCurrentProcessId()) + ".tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

std::string PerUserDirectory() {
  PWSTR local_app_data = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local_app_data))) {
    folder = FolderInCodePage(local_app_data);
  }
  CoTaskMemFree(local_app_data);
  return folder.empty() ? folder : folder + kKelvaryFolder;
}

std::string LogCopyDirectory(const std::string& program_directory) {
  if (CanCreateFileIn(program_directory)) return program_directory;
  const std::string per_user = PerUserDirectory();
  if (per_user.empty()) return program_directory;
  CreateDirectoryA(per_user.c_str(), nullptr);
  return per_user;
}

}  // namespace kelvary
