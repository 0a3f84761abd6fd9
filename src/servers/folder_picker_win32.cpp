#include "servers/folder_picker_win32.h"

#include <shobjidl.h>
#include <wrl/client.h>

namespace kelvary {
namespace {

using Microsoft::WRL::ComPtr;

// COM on this thread while the picker is shown; the picker wants a
// single-threaded apartment. A thread that has COM already keeps it.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

// Folders only, and only those with a path in the file system: a library
// or "This PC" has none.
constexpr FILEOPENDIALOGOPTIONS kFolderOptions = FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST;

std::string ToAnsi(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.pop_back();  // the NUL
  return text;
}

std::optional<std::string> PathOf(IShellItem& item) {
  wchar_t* path = nullptr;
  if (FAILED(item.GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  std::string text = ToAnsi(path);
  CoTaskMemFree(path);
  return text;
}

}  // namespace

std::optional<std::string> PickFolder(HWND owner) {
  ComApartment com;
  ComPtr<IFileOpenDialog> picker;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&picker)))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  picker->GetOptions(&options);
  picker->SetOptions(options | kFolderOptions);
  if (FAILED(picker->Show(owner))) return std::nullopt;  // cancelled, too
  ComPtr<IShellItem> chosen;
  if (FAILED(picker->GetResult(&chosen))) return std::nullopt;
  return PathOf(*chosen.Get());
}

}  // namespace kelvary
