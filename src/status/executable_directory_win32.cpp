#include <windows.h>

#include <string>

#include "base/path_text_win32.h"
#include "status/executable_directory.h"
#include "status/executable_path_win32.h"

namespace kelvary {
namespace {

constexpr DWORD kFirstBufferSize = MAX_PATH;
constexpr wchar_t kSeparator = L'\\';
constexpr wchar_t kDriveColon = L':';

}  // namespace

std::wstring ExecutablePath() {
  std::wstring path(kFirstBufferSize, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length < size) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: try again with room to spare
  }
}

std::string ExecutableDirectory() {
  std::wstring directory = ExecutablePath();
  directory.resize(directory.find_last_of(kSeparator) + 1);
  // "C:\" keeps its separator; any other folder drops it.
  if (directory.size() > 1 && directory[directory.size() - 2] != kDriveColon) directory.pop_back();
  return PathFromWide(directory);
}

}  // namespace kelvary
