// FetchRemoteLog's texts and paths. Its calls through the real loader and the
// stand-in library, and what the window shows, are pinned by the check's tests.
#include "status/remote_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "remote_fixture.h"

namespace kelvary::test {
namespace {

TEST(LoginRefusedMessage, UnknownStatusIsShownInDecimalDownToTheLowest) {
  EXPECT_EQ(LoginRefusedMessage(INT32_MIN), "Error:  -2147483648");
}

TEST(LocalCopyPathTest, JoinsDirectoryServerAndApplicationWithTheSeparator) {
  MemoryRegistry registry;
  const auto deps = [&](std::string directory, char separator) {
    return CheckDependencies{registry, CaseMap::Windows1252(), std::move(directory), separator, nullptr, nullptr};
  };
  EXPECT_EQ(LocalCopyPath(deps("C:\\Tools", '\\'), "Finance", "SAMPLE"), "C:\\Tools\\Finance_SAMPLE.log");
  // The root of a drive already ends in a separator; the doubled one stays.
  EXPECT_EQ(LocalCopyPath(deps("C:\\", '\\'), "Finance", "SAMPLE"), "C:\\\\Finance_SAMPLE.log");
  EXPECT_EQ(LocalCopyPath(deps("/opt/kelvary", '/'), "Finance", "SAMPLE"), "/opt/kelvary/Finance_SAMPLE.log");
}

using FetchRemoteLogTest = RemoteFixture;

TEST_F(FetchRemoteLogTest, CopyIsNamedAfterTheStoredServerNotItsAddress) {
  fixtures_.Write("SAMPLE.log", "x\r\n");
  AddRemoteServer("East");
  AddRemoteServer("West");
  RecordingView view;

  EXPECT_EQ(FetchRemoteLog(view, Deps(), "East", "SAMPLE").local_path, Copy("East", "SAMPLE"));
  EXPECT_EQ(FetchRemoteLog(view, Deps(), "West", "SAMPLE").local_path, Copy("West", "SAMPLE"));
  EXPECT_EQ(FileContent(Copy("East", "SAMPLE")), "x\r\n");
  EXPECT_EQ(FileContent(Copy("West", "SAMPLE")), "x\r\n");
}

// A program in a folder named outside the system code page (a profile named
// after its owner): the library is handed a form of the copy's path that it
// can write to, and the copy is read back where the check expects it.
TEST_F(FetchRemoteLogTest, CopyGoesBesideAProgramInAFolderNamedInAnyLanguage) {
  fixtures_.Write("SAMPLE.log", "x\r\n");
  AddRemoteServer("East");
  const std::filesystem::path folder = exe_dir_.path() / std::filesystem::path(u8"Жук");
  std::filesystem::create_directory(folder);
  CheckDependencies deps = Deps();
  deps.executable_directory = PathText(folder);
  RecordingView view;

  const RemoteLogResult result = FetchRemoteLog(view, deps, "East", "SAMPLE");
  EXPECT_EQ(result.outcome, RemoteFetch::LogReady) << result.failure;
  EXPECT_EQ(result.local_path, PathText(folder / "East_SAMPLE.log"));
  EXPECT_EQ(FileContent(folder / "East_SAMPLE.log"), "x\r\n");
}

#ifndef _WIN32
// The loader of platforms without esbapin.dll: a library is named, or none
// loads; one without all five entry points does not load either.
TEST_F(FetchRemoteLogTest, OnlyANamedCompleteLibraryLoads) {
  UnsetEnvironment(kLibraryVariable);
  EXPECT_EQ(LoadEssbaseLibrary().library, nullptr);
  SetEnvironment(kLibraryVariable, "");
  EXPECT_EQ(LoadEssbaseLibrary().library, nullptr);

  SetEnvironment(kLibraryVariable, fixtures_.File("no-such-library.so"));
  const LoadedEssbase missing = LoadEssbaseLibrary();
  EXPECT_EQ(missing.library, nullptr);
  EXPECT_NE(missing.error.find("no-such-library.so"), std::string::npos);

  SetEnvironment(kLibraryVariable, KELVARY_INCOMPLETE_LIBRARY);
  const LoadedEssbase incomplete = LoadEssbaseLibrary();
  EXPECT_EQ(incomplete.library, nullptr);
  EXPECT_EQ(incomplete.error, "the Essbase library has no entry point EsbTerm");
}
#endif

}  // namespace
}  // namespace kelvary::test
