// Where esbapin.dll is looked for: never in the current folder, nor through
// a relative PATH entry, where a planted copy would receive the login; in
// the folders of PATH, where the Essbase client installs it. This program
// lies apart from the stand-in library on purpose.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <utility>

#include "status/essbase_library.h"
#include "support/temp_folder.h"

namespace kelvary::test {
namespace {

constexpr const char* kNotFound = "esbapin.dll cannot be loaded, error 126";

// The stand-in library, built in a folder below this program's.
std::filesystem::path StandinFolder() {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path() / "essbase";
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[32768];
  const DWORD length = GetEnvironmentVariableW(name, value, 32768);
  return std::wstring(value, length);
}

// The file the loaded esbapin.dll came from, or empty.
std::filesystem::path LoadedFrom() {
  HMODULE module = GetModuleHandleW(L"esbapin.dll");
  if (module == nullptr) return {};
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

class EssbaseLoader : public ::testing::Test {
 protected:
  EssbaseLoader() : saved_path_(Environment(L"PATH")) {
    GetCurrentDirectoryW(MAX_PATH, saved_folder_);
    std::filesystem::copy_file(StandinFolder() / "esbapin.dll", planted_.path() / "esbapin.dll");
    std::filesystem::create_directory(planted_.path() / "essbase");
    std::filesystem::copy_file(StandinFolder() / "esbapin.dll", planted_.path() / "essbase" / "esbapin.dll");
    SetCurrentDirectoryW(planted_.path().c_str());
  }
  ~EssbaseLoader() override {
    SetCurrentDirectoryW(saved_folder_);
    SetEnvironmentVariableW(L"PATH", saved_path_.c_str());
  }

  TempFolder planted_;  // the current folder, with a copy in it and in "essbase" below it
  std::wstring saved_path_;
  wchar_t saved_folder_[MAX_PATH];
};

// Nothing on PATH, the current folder or a relative name on it: nothing
// loads. The stand-in's folder on PATH: it loads from there (last, so that
// nothing is loaded already before).
TEST_F(EssbaseLoader, NeverLoadsThePlantedCopy) {
  const std::pair<std::wstring, bool> entries_and_loads[] = {
      {L"", false}, {L".", false}, {L"essbase", false}, {StandinFolder().wstring(), true}};
  for (const auto& [entry, loads] : entries_and_loads) {
    SetEnvironmentVariableW(L"PATH", (entry + L";" + saved_path_).c_str());
    const LoadedEssbase loaded = LoadEssbaseLibrary();
    if (loads) {
      ASSERT_NE(loaded.library, nullptr) << loaded.error;
      EXPECT_TRUE(std::filesystem::equivalent(LoadedFrom(), StandinFolder() / "esbapin.dll"));
    } else {
      EXPECT_EQ(loaded.library, nullptr) << std::filesystem::path(entry).string();
      EXPECT_EQ(loaded.error, kNotFound);
    }
  }
}

}  // namespace
}  // namespace kelvary::test
