#include <windows.h>
#include <shlobj.h>

#include <string>

#include "base/path_text.h"
#include "base/path_text_win32.h"
#include "status/per_user_folder.h"

namespace kelvary {
namespace {

constexpr const char* kKelvaryFolder = "\\Kelvary";
constexpr const char* kProbeNamePrefix = "\\~kelvary-probe-";
constexpr const char* kProbeExtension = ".tmp";

// A file of this process's own name, gone again when closed.
bool CanCreateFileIn(const std::string& folder) {
  const std::string probe = folder + kProbeNamePrefix + std::to_string(GetCurrentProcessId()) + kProbeExtension;
  HANDLE file = CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// The Essbase library is handed the copy's path in the system code page: a
// folder it cannot name is no place for the copy.
bool SuitsLogCopies(const std::string& folder) {
  return CanCreateFileIn(folder) && PathInSystemText(folder + kProbeNamePrefix + kProbeExtension);
}

}  // namespace

std::string PerUserDirectory() {
  PWSTR local_app_data = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local_app_data))) {
    folder = PathFromWide(local_app_data);
  }
  CoTaskMemFree(local_app_data);
  return folder.empty() ? folder : folder + kKelvaryFolder;
}

std::string LogCopyDirectory(const std::string& program_directory) {
  if (SuitsLogCopies(program_directory)) return program_directory;
  const std::string per_user = PerUserDirectory();
  if (per_user.empty()) return program_directory;
  CreateDirectoryW(WidePath(per_user).c_str(), nullptr);
  return SuitsLogCopies(per_user) ? per_user : program_directory;
}

}  // namespace kelvary
