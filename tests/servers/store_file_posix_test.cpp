// The store over a real .reg file: the behaviour every backend shares, and
// what only a file has: its bytes on disk, its privacy, two processes
// writing at once, and a damaged file left untouched.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "servers/registry_file_store.h"
#include "servers/registry_store.h"
#include "store_behaviour.h"
#include "support/temp_folder.h"

namespace kelvary {

// Each test of the shared suite gets a file of its own.
std::unique_ptr<RegistryBackend> OpenStoreUnderTest() {
  static const test::TempFolder directory;
  static int count = 0;
  return OpenRegistryFile(directory.File("store" + std::to_string(++count) + ".reg"));
}

namespace {

namespace fs = std::filesystem;
using test::FileContent;

constexpr RegRoot kUser = RegRoot::CurrentUser;
const std::string kServers = "Software\\Brennic\\Kelvary\\Servers";
constexpr char kStoreFile[] = "config/kelvary/registry.reg";  // in the test's folder

class FileStore : public ::testing::Test {
 protected:
  test::TempFolder directory_;
  std::string file_ = directory_.File(kStoreFile);
};

// Reading creates nothing.
TEST_F(FileStore, TheFirstChangeCreatesItsDirectoryAndAPrivateCrLfFileWhosePermissionsStay) {
  auto reg = OpenRegistryFile(file_);
  EXPECT_EQ(RegReadText(*reg, kUser, kServers + "\\PROD", "Path", "none"), "none");
  EXPECT_FALSE(fs::exists(fs::path(file_).parent_path()));
  RegWriteText(*reg, kUser, kServers + "\\PROD", "Path", "d:\\essbase\\");
  EXPECT_EQ(FileContent(file_),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n"
            "\"Path\"=\"d:\\\\essbase\\\\\"\r\n\r\n");
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

  const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(file_, shared);
  RegWriteText(*reg, kUser, kServers + "\\PROD", "PATH", "e:");  // the value keeps its first spelling
  EXPECT_NE(FileContent(file_).find("\"Path\"=\"e:\"\r\n"), std::string::npos);
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all, shared);
}

TEST_F(FileStore, ADamagedOrReadOnlyFileIsLeftUntouchedWithNoTemporaryFileBeside) {
  const std::string damaged =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n"
      "\"Path\"=\"d:\\\\essbase\r\n";
  directory_.Write(kStoreFile, damaged);
  const auto before = fs::last_write_time(file_);
  auto reg = OpenRegistryFile(file_);
  RegWriteText(*reg, kUser, kServers + "\\DEV", "Path", "e:\\essbase");
  RegRemoveKey(*reg, kUser, kServers + "\\PROD");
  EXPECT_EQ(FileContent(file_), damaged);
  EXPECT_EQ(fs::last_write_time(file_), before);
  EXPECT_EQ(std::set<fs::path>(fs::directory_iterator(fs::path(file_).parent_path()), {}),
            (std::set<fs::path>{file_, file_ + ".lock"}));
  directory_.Write(kStoreFile, "");  // a read-only file is read but never rewritten
  RegWriteText(*reg, kUser, kServers + "\\PROD", "Access", "0");
  fs::permissions(file_, fs::perms::owner_read);
  const std::string read_only = FileContent(file_);
  RegWriteText(*reg, kUser, kServers + "\\DEV", "Access", "0");
  EXPECT_EQ(FileContent(file_), read_only);
  EXPECT_EQ(RegListSubkeys(*reg, kUser, kServers), std::vector<std::string>{"PROD"});
}

// One too big for the buffer answers "more data" with the size it needs; a
// key deleted while open answers "key deleted", and a key closes once.
TEST_F(FileStore, QueryValueAnswersMoreDataAndADeletedKeyKeyDeleted) {
  auto reg = OpenRegistryFile(file_);
  RegWriteText(*reg, kUser, kServers, "Path", "d:\\essbase");
  RegistryBackend::Key key = 0;
  reg->OpenKey(kUser, kServers, &key);
  std::uint32_t type = 0;
  unsigned char data[4];
  std::uint32_t size = sizeof data;
  EXPECT_EQ(reg->QueryValue(key, "Path", &type, data, &size), kRegMoreData);
  EXPECT_EQ(size, 11u);
  reg->DeleteKey(kUser, kServers);
  char name[8];
  EXPECT_EQ(reg->EnumKey(key, 0, name, sizeof name), kRegKeyDeleted);
  EXPECT_EQ(reg->CloseKey(key), kRegSuccess);
  EXPECT_EQ(reg->CloseKey(key), kRegInvalidHandle);
}

// The registry holds key names of up to 255 characters; the listing shows
// each, and every name after it, in Windows' order: by the upper-cased
// names, so "_" comes after "Z" (Wine's registry puts it before "A").
TEST_F(FileStore, ListingShowsEveryServerWhateverTheLengthOfItsName) {
  auto reg = OpenRegistryFile(file_);
  const std::vector<std::string> names = {"AAA", std::string(254, 'M'), std::string(255, 'N'), "ZZZ", "_lab"};
  for (const std::string& name : names) RegWriteText(*reg, kUser, kServers + "\\" + name, "Path", "p");
  EXPECT_EQ(RegListSubkeys(*reg, kUser, kServers), names);
}

// On Linux names are UTF-8: a code page's case map would take eng and
// s acute for the two cases of one letter.
TEST_F(FileStore, NamesDifferingInMoreThanCaseStayApart) {
  auto reg = OpenRegistryFile(file_);
  for (const char* name : {"\u014a", "\u015a", "\u015b"}) RegWriteText(*reg, kUser, kServers + "\\" + name, "Path", name);
  EXPECT_EQ(RegListSubkeys(*reg, kUser, kServers), (std::vector<std::string>{"\u014a", "\u015a"}));
  EXPECT_EQ(RegReadText(*reg, kUser, kServers + "\\\u015a", "Path"), "\u015b");
}

TEST_F(FileStore, AChangeWritesThroughASymbolicLinkWhichStaysALink) {
  const std::string target = directory_.File("elsewhere/real.reg");
  auto seed = OpenRegistryFile(target);
  RegWriteText(*seed, kUser, kServers + "\\PROD", "Access", "0");
  fs::create_directories(fs::path(file_).parent_path());
  fs::create_symlink("../../elsewhere/real.reg", file_);
  auto reg = OpenRegistryFile(file_);
  RegWriteText(*reg, kUser, kServers + "\\DEV", "Access", "0");
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(RegListSubkeys(*seed, kUser, kServers), (std::vector<std::string>{"DEV", "PROD"}));
}

// Two processes add servers at the same moment; without the lock each
// rewrite would drop the other's servers added since it read the file.
constexpr int kWriters = 2;
constexpr int kServersPerWriter = 40;

void AddServers(const std::string& file, int writer) {
  auto reg = OpenRegistryFile(file);
  for (int server = 0; server < kServersPerWriter; ++server) {
    const std::string key = kServers + "\\W" + std::to_string(writer) + "-" + std::to_string(server);
    RegWriteText(*reg, kUser, key, "Path", "d:\\essbase");
    RegWriteText(*reg, kUser, key, "Access", "0");
  }
}

TEST_F(FileStore, TwoProcessesWritingAtOnceLoseNoWrite) {
  std::vector<pid_t> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      AddServers(file_, writer);
      _exit(0);
    }
    writers.push_back(pid);
  }
  for (const pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto reg = OpenRegistryFile(file_);
  const std::vector<std::string> names = RegListSubkeys(*reg, kUser, kServers);
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kWriters * kServersPerWriter));
  for (const std::string& name : names) {
    EXPECT_EQ(RegReadText(*reg, kUser, kServers + "\\" + name, "Access"), "0") << name;
  }
}

}  // namespace
}  // namespace kelvary
