// esbapin.dll, found where the Essbase client installs it: the program's own
// folder, the system folders, then the folders named in PATH. The current
// folder is never searched, nor a relative PATH entry (which is the current
// folder in disguise): a library planted there would receive the server,
// user and password.
#include <windows.h>

#include <string>
#include <vector>

#include "status/essbase_entry_points.h"
#include "status/executable_path_win32.h"

namespace kelvary {
namespace {

constexpr const wchar_t* kEssbaseDll = L"esbapin.dll";
constexpr std::string_view kLoadFailed = "esbapin.dll cannot be loaded, error ";
constexpr wchar_t kPathListSeparator = L';';
constexpr wchar_t kQuote = L'"';
constexpr wchar_t kSeparator = L'\\';

// Asks a Win32 call that fills a buffer of a given size until it fits.
template <typename Fill>
std::wstring FilledText(Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length > text.size() ? length : text.size() * 2);
  }
}

// "C:\..." or "\\server\...": a path that does not depend on the current folder.
bool IsAbsolute(const std::wstring& folder) {
  const bool drive = folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
  const bool share = folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\';
  return drive || share;
}

std::wstring ProgramFolder() {
  std::wstring path = ExecutablePath();
  path.resize(path.find_last_of(kSeparator) + 1);
  return path;
}

std::vector<std::wstring> SearchFolders() {
  std::vector<std::wstring> folders = {
      ProgramFolder(),
      FilledText([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); }),
      FilledText([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); })};
  const std::wstring path_list =
      FilledText([](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(L"PATH", buffer, size); });
  std::size_t begin = 0;
  while (begin <= path_list.size()) {
    std::size_t end = path_list.find(kPathListSeparator, begin);
    if (end == std::wstring::npos) end = path_list.size();
    std::wstring folder = path_list.substr(begin, end - begin);
    std::erase(folder, kQuote);
    if (IsAbsolute(folder)) folders.push_back(std::move(folder));
    begin = end + 1;
  }
  return folders;
}

// The library's full path in the first folder that holds it, or empty.
std::wstring FindEssbaseDll() {
  for (std::wstring candidate : SearchFolders()) {
    if (!candidate.empty() && candidate.back() != kSeparator && candidate.back() != L'/') candidate += kSeparator;
    candidate += kEssbaseDll;
    const DWORD attributes = GetFileAttributesW(candidate.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return candidate;
  }
  return {};
}

}  // namespace

void KeepCurrentFolderOutOfLibrarySearch() { SetDllDirectoryW(L""); }

LoadedEssbase LoadEssbaseLibrary() {
  const std::wstring path = FindEssbaseDll();
  if (path.empty()) return {nullptr, std::string(kLoadFailed) + std::to_string(ERROR_MOD_NOT_FOUND)};
  // The libraries it needs in turn are looked for in its own folder first.
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) return {nullptr, std::string(kLoadFailed) + std::to_string(GetLastError())};
  return BindEssbaseLibrary(
      [module](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); },
      [module] { FreeLibrary(module); });
}

}  // namespace kelvary
