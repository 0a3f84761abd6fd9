#include <windows.h>

#include <string>

#include "status/executable_directory.h"

namespace kelvary {
namespace {

constexpr DWORD kFirstBufferSize = MAX_PATH;
constexpr char kSeparator = '\\';
constexpr char kDriveColon = ':';

std::string ExecutablePath() {
  std::string path(kFirstBufferSize, '\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length < size) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: try again with room to spare
  }
}

}  // namespace

std::string ExecutableDirectory() {
  std::string directory = ExecutablePath();
  directory.resize(directory.find_last_of(kSeparator) + 1);
  // "C:\" keeps its separator; any other folder drops it.
  if (directory.size() > 1 && directory[directory.size() - 2] != kDriveColon) directory.pop_back();
  return directory;
}

}  // namespace kelvary
