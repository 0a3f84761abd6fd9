#include "ui/version_record_win32.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "base/path_text_win32.h"
#include "status/executable_path_win32.h"

namespace kelvary {
namespace {

constexpr const char* kFixedInfoBlock = "\\";
constexpr const char* kTranslationBlock = "\\VarFileInfo\\Translation";
// "\StringFileInfo\" + language and code page as eight hex digits + "\ProductName".
constexpr const char* kProductNameFormat = "\\StringFileInfo\\%04x%04x\\ProductName";
constexpr int kProductNamePathSize = 64;

struct Translation {
  WORD language;
  WORD code_page;
};

std::optional<std::vector<char>> ReadVersionBlock(const std::string& file) {
  const std::wstring wide = WidePath(file);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(wide.c_str(), 0, size, block.data())) return std::nullopt;
  return block;
}

const VS_FIXEDFILEINFO* FixedInfo(std::vector<char>& block) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), kFixedInfoBlock, &value, &length) ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return nullptr;
  }
  return static_cast<const VS_FIXEDFILEINFO*>(value);
}

// The product name in the record's first language; the strings of a
// record are listed under the languages its translation table names.
std::optional<std::string> ProductName(std::vector<char>& block) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), kTranslationBlock, &value, &length) ||
      length < sizeof(Translation)) {
    return std::nullopt;
  }
  const auto* translation = static_cast<const Translation*>(value);
  char path[kProductNamePathSize];
  std::snprintf(path, sizeof path, kProductNameFormat, translation->language,
                translation->code_page);
  if (!VerQueryValueA(block.data(), path, &value, &length) || length == 0) return std::nullopt;
  return std::string(static_cast<const char*>(value));
}

}  // namespace

std::optional<VersionRecord> ReadVersionRecord(const std::string& file) {
  std::optional<std::vector<char>> block = ReadVersionBlock(file);
  if (!block) return std::nullopt;
  const VS_FIXEDFILEINFO* fixed = FixedInfo(*block);
  std::optional<std::string> product = ProductName(*block);
  if (!fixed || !product) return std::nullopt;
  return VersionRecord{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                       std::move(*product)};
}

VersionRecord OwnVersionRecord() {
  return ReadVersionRecord(PathFromWide(ExecutablePath())).value_or(BuiltVersionRecord());
}

}  // namespace kelvary
