// The settings file on a real (Wine) disk: the three ways an open can fail
// are told apart, creation never replaces, and writes are binary CR LF.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

TEST_F(SettingsFileAccessWin32Test, MissingFileMissingFolderAndAFolderInItsPlaceAreToldApart) {
  EXPECT_EQ(Read("Kelvary.ini"), ReadStatus::FileMissing);
  EXPECT_EQ(Read("no-folder\\Kelvary.ini"), ReadStatus::FolderMissing);
  std::filesystem::create_directories(folder_.path() / "Kelvary.ini");
  EXPECT_EQ(Read("Kelvary.ini"), ReadStatus::Failed);
}

TEST_F(SettingsFileAccessWin32Test, CreateNewNeverReplaces) {
  const std::string path = Path("Kelvary.ini");
  files_->CreateNew(path, " , \r\n");
  files_->CreateNew(path, "other\r\n");
  EXPECT_EQ(FileContent(path), " , \r\n");
}

TEST_F(SettingsFileAccessWin32Test, ReplaceWritesBytesAsGivenAndReadsThemBack) {
  const std::string path = Path("Kelvary.ini");
  files_->Replace(path, "a much longer first content\r\n");
  files_->Replace(path, "Z\xFCrich,SAMPLE\r\n");
  std::string content;
  EXPECT_EQ(files_->ReadAll(path, content), ReadStatus::Read);
  EXPECT_EQ(content, "Z\xFCrich,SAMPLE\r\n");
}

// A huge file costs neither time nor memory: only its start is read.
TEST_F(SettingsFileAccessWin32Test, ReadsNoMoreThanTheLimit) {
  const std::string start = "Finance,SAMPLE\r\n";
  WriteWholeFile(Path("Kelvary.ini"), start + std::string(std::size_t{1} << 20, 'x'));
  std::string content;
  EXPECT_EQ(files_->ReadAll(Path("Kelvary.ini"), content), ReadStatus::Read);
  EXPECT_EQ(content.size(), kSettingsReadLimit);
  EXPECT_EQ(content.substr(0, start.size()), start);
}

TEST_F(SettingsFileAccessWin32Test, StartUpCreatesTheFileOnDisk) {
  SettingsFile settings(*files_, SettingsPathIn(folder_.Text()));
  EXPECT_EQ(settings.ReadAtStartUp().strLastServer, "");
  EXPECT_EQ(FileContent(Path("Kelvary.ini")), " , \r\n");
}

}  // namespace
}  // namespace kelvary::test
