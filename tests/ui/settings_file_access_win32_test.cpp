// The settings file on a real (Wine) disk: the three ways an open can fail
// are told apart, creation never replaces, and writes are binary CR LF.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "ui/settings_file.h"

namespace kelvary {
namespace {

class SettingsFileAccessWin32Test : public ::testing::Test {
 protected:
  SettingsFileAccessWin32Test() {
    std::random_device random;
    dir_ = std::filesystem::temp_directory_path() / ("kelvary-ini-" + std::to_string(random()));
    std::filesystem::create_directories(dir_);
  }
  ~SettingsFileAccessWin32Test() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string Path(const std::string& relative) const { return (dir_ / relative).string(); }
  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }

  std::filesystem::path dir_;
  std::unique_ptr<SettingsFileAccess> files_ = OpenSettingsFileAccess();
};

using ReadStatus = SettingsFileAccess::ReadStatus;

TEST_F(SettingsFileAccessWin32Test, MissingFileAndMissingFolderAreToldApart) {
  std::string content;
  EXPECT_EQ(files_->ReadAll(Path("Kelvary.ini"), content), ReadStatus::FileMissing);
  EXPECT_EQ(files_->ReadAll(Path("no-folder\\Kelvary.ini"), content), ReadStatus::FolderMissing);
}

TEST_F(SettingsFileAccessWin32Test, FolderInPlaceOfTheFileIsAnOtherFailure) {
  std::filesystem::create_directories(dir_ / "Kelvary.ini");
  std::string content;
  EXPECT_EQ(files_->ReadAll(Path("Kelvary.ini"), content), ReadStatus::Failed);
}

TEST_F(SettingsFileAccessWin32Test, CreateNewNeverReplaces) {
  const std::string path = Path("Kelvary.ini");
  files_->CreateNew(path, " , \r\n");
  files_->CreateNew(path, "other\r\n");
  EXPECT_EQ(Content(path), " , \r\n");
}

TEST_F(SettingsFileAccessWin32Test, ReplaceWritesBytesAsGivenAndReadsThemBack) {
  const std::string path = Path("Kelvary.ini");
  files_->Replace(path, "a much longer first content\r\n");
  files_->Replace(path, "Z\xFCrich,SAMPLE\r\n");
  std::string content;
  EXPECT_EQ(files_->ReadAll(path, content), ReadStatus::Read);
  EXPECT_EQ(content, "Z\xFCrich,SAMPLE\r\n");
}

TEST_F(SettingsFileAccessWin32Test, StartUpCreatesTheFileOnDisk) {
  SettingsFile settings(*files_, SettingsPathIn(dir_.string()));
  const RememberedQuery query = settings.ReadAtStartUp();
  EXPECT_EQ(query.strLastServer, "");
  EXPECT_EQ(Content(Path("Kelvary.ini")), " , \r\n");
}

}  // namespace
}  // namespace kelvary
