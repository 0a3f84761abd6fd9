// The store over a real .reg file: the behaviour every backend shares, and
// what only a file has: its bytes on disk, its privacy, two processes
// writing at once, and a damaged file left untouched.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "servers/registry_file_store.h"
#include "servers/registry_store.h"
#include "store_behaviour.h"

namespace kelvary {
namespace {

namespace fs = std::filesystem;

constexpr RegRoot kUser = RegRoot::CurrentUser;
const std::string kServers = "Software\\Brennic\\Kelvary\\Servers";

// A fresh directory per test, removed with everything in it afterwards.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (fs::path(::testing::TempDir()) / "kelvary-store-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TemporaryDirectory() { fs::remove_all(path_); }
  fs::path path() const { return path_; }

 private:
  fs::path path_;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Each backend opened for the shared suite gets a file of its own.
class FileBackendFactory {
 public:
  std::unique_ptr<RegistryBackend> Open() {
    return OpenRegistryFile((directory_.path() / ("store" + std::to_string(++count_) + ".reg")).string());
  }

 private:
  TemporaryDirectory directory_;
  int count_ = 0;
};

FileBackendFactory& SharedFactory() {
  static FileBackendFactory factory;
  return factory;
}

INSTANTIATE_TEST_SUITE_P(File, StoreBehaviour,
                         ::testing::Values(StoreUnderTest{"File", [] { return SharedFactory().Open(); }}),
                         [](const auto& info) { return info.param.name; });

class FileStore : public ::testing::Test {
 protected:
  TemporaryDirectory directory_;
  fs::path file_ = directory_.path() / "config" / "kelvary" / "registry.reg";
};

TEST_F(FileStore, TheFirstChangeCreatesItsDirectoryAndAPrivateCrLfFile) {
  auto reg = OpenRegistryFile(file_.string());
  RegWriteText(*reg, kUser, kServers + "\\PROD", "Path", "d:\\essbase\\");
  EXPECT_EQ(ReadFile(file_),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n"
            "\"Path\"=\"d:\\\\essbase\\\\\"\r\n\r\n");
  struct stat status {};
  ASSERT_EQ(stat(file_.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(FileStore, ARewriteKeepsTheFilesOwnPermissions) {
  auto reg = OpenRegistryFile(file_.string());
  RegEnsureKey(*reg, kUser, kServers);
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  RegWriteText(*reg, kUser, kServers + "\\PROD", "Access", "0");
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FileStore, ReadingCreatesNothing) {
  auto reg = OpenRegistryFile(file_.string());
  EXPECT_TRUE(RegListSubkeys(*reg, kUser, kServers).empty());
  EXPECT_EQ(RegReadText(*reg, kUser, kServers + "\\PROD", "Path", "none"), "none");
  EXPECT_FALSE(fs::exists(file_.parent_path()));
}

TEST_F(FileStore, ADamagedFileIsLeftUntouchedAndReported) {
  fs::create_directories(file_.parent_path());
  const std::string damaged =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n"
      "\"Path\"=\"d:\\\\essbase\r\n";
  WriteFile(file_, damaged);
  const auto before = fs::last_write_time(file_);
  auto reg = OpenRegistryFile(file_.string());
  RegEnsureKey(*reg, kUser, kServers);
  RegWriteText(*reg, kUser, kServers + "\\DEV", "Path", "e:\\essbase");
  RegRemoveKey(*reg, kUser, kServers + "\\PROD");
  EXPECT_TRUE(RegListSubkeys(*reg, kUser, kServers).empty());
  EXPECT_EQ(ReadFile(file_), damaged);
  EXPECT_EQ(fs::last_write_time(file_), before);
  EXPECT_EQ(std::set<fs::path>(fs::directory_iterator(file_.parent_path()), {}),
            (std::set<fs::path>{file_, file_.string() + ".lock"}));  // no temporary file left

  setenv("KELVARY_REGISTRY_FILE", file_.c_str(), 1);
  const auto problem = UserRegistryProblem();
  unsetenv("KELVARY_REGISTRY_FILE");
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind(file_.string() + ", line 4: ", 0), 0u) << *problem;
}

TEST_F(FileStore, TheUserStoreIsTheFileNamedByKelvaryRegistryFile) {
  setenv("KELVARY_REGISTRY_FILE", file_.c_str(), 1);
  RegWriteText(*OpenUserRegistry(), kUser, kServers + "\\PROD", "Access", "1");
  const auto problem = UserRegistryProblem();
  unsetenv("KELVARY_REGISTRY_FILE");
  EXPECT_FALSE(problem);
  EXPECT_EQ(RegReadText(*OpenRegistryFile(file_.string()), kUser, kServers + "\\PROD", "Access"), "1");
}

TEST_F(FileStore, ARegeditExportInUtf16IsReadAndRewrittenAsEightBitText) {
  fs::create_directories(file_.parent_path());
  const std::u16string exported =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\caf\u00e9]\r\n"
      u"\"Path\"=\"d:\\\\essbase\"\r\n\r\n";
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : exported) {
    bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  }
  WriteFile(file_, bytes);
  auto reg = OpenRegistryFile(file_.string());
  EXPECT_EQ(RegListSubkeys(*reg, kUser, kServers), std::vector<std::string>{"caf\xE9"});
  RegWriteText(*reg, kUser, kServers + "\\caf\xC9", "Access", "0");
  EXPECT_NE(ReadFile(file_).find("[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\caf\xE9]\r\n"
                                 "\"Path\"=\"d:\\\\essbase\"\r\n\"Access\"=\"0\"\r\n"),
            std::string::npos);
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
      AddServers(file_.string(), writer);
      _exit(0);
    }
    writers.push_back(pid);
  }
  for (const pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto reg = OpenRegistryFile(file_.string());
  const std::vector<std::string> names = RegListSubkeys(*reg, kUser, kServers);
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kWriters * kServersPerWriter));
  for (const std::string& name : names) {
    EXPECT_EQ(RegReadText(*reg, kUser, kServers + "\\" + name, "Access"), "0") << name;
  }
}

}  // namespace
}  // namespace kelvary
