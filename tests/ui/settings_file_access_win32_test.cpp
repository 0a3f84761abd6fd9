// The settings file on a real (Wine) disk: the three ways an open can fail
// are told apart, creation never replaces, and writes are binary CR LF.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "status/per_user_folder.h"
#include "support/temp_folder.h"
#include "ui/settings_file.h"

namespace kelvary::test {
namespace {

using ReadStatus = SettingsFileAccess::ReadStatus;

class SettingsFileAccessWin32Test : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const { return (folder_.path() / relative).string(); }
  ReadStatus Read(const std::string& relative) {
    std::string content;
    return files_->ReadAll(Path(relative), content);
  }

  TempFolder folder_;
  std::unique_ptr<SettingsFileAccess> files_ = OpenSettingsFileAccess();
};

// A missing file, a missing folder and a folder in the file's place are told
// apart; start-up creates the file, never replacing one, and writes are binary.
TEST_F(SettingsFileAccessWin32Test, OpenFailuresAreToldApartAndCreationNeverReplaces) {
  EXPECT_EQ(Read("Kelvary.ini"), ReadStatus::FileMissing);
  EXPECT_EQ(Read("no-folder\\Kelvary.ini"), ReadStatus::FolderMissing);
  std::filesystem::create_directories(folder_.path() / "Kelvary.ini");
  EXPECT_EQ(Read("Kelvary.ini"), ReadStatus::Failed);
  std::filesystem::remove_all(folder_.path() / "Kelvary.ini");
  SettingsFile settings(*files_, SettingsPathIn(folder_.Text()));
  EXPECT_EQ(settings.ReadAtStartUp().strLastServer, "");
  files_->CreateNew(Path("Kelvary.ini"), "other\r\n");
  EXPECT_EQ(FileContent(Path("Kelvary.ini")), " , \r\n");
  files_->Replace(Path("Kelvary.ini"), "Z\xFCrich,SAMPLE\r\n");
  EXPECT_EQ(FileContent(Path("Kelvary.ini")), "Z\xFCrich,SAMPLE\r\n");
}

// A file another program holds without sharing writes (as a read-only one
// would refuse them on Windows) is the case a write must tell, so that the
// choice goes elsewhere.
TEST_F(SettingsFileAccessWin32Test, ReplaceTellsAFailedWriteAndLastWriteTimeAMissingFile) {
  const std::string path = Path("Kelvary.ini");
  EXPECT_FALSE(files_->LastWriteTime(path));
  EXPECT_TRUE(files_->Replace(path, "a\r\n"));
  EXPECT_TRUE(files_->LastWriteTime(path));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_FALSE(files_->Replace(path, "b\r\n"));
  CloseHandle(held);
  EXPECT_EQ(FileContent(path), "a\r\n");
}

// A folder where nothing can be made stands in for one the user may not write.
TEST_F(SettingsFileAccessWin32Test, LogCopiesGoToTheProgramsFolderWhenWritableElsePerUser) {
  EXPECT_EQ(LogCopyDirectory(folder_.Text()), folder_.Text());
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));  // the probe is gone
  const std::string per_user = PerUserDirectory();
  ASSERT_NE(per_user.find("\\AppData\\Local\\Kelvary"), std::string::npos) << per_user;
  EXPECT_EQ(LogCopyDirectory(Path("missing")), per_user);
  EXPECT_TRUE(std::filesystem::is_directory(per_user));
}

}  // namespace
}  // namespace kelvary::test
