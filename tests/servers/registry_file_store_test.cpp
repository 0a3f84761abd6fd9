// The file store's rules around the file: a damaged or unreadable file is
// never written, an unchanged tree is not rewritten, a failed rewrite is a
// failed change. Over a file kept in memory.
#include "servers/registry_file_store.h"

#include <gtest/gtest.h>

#include "servers/registry_store.h"

namespace kelvary {
namespace {

constexpr RegRoot kUser = RegRoot::CurrentUser;
constexpr char kPath[] = "/home/ann/.config/kelvary/registry.reg";
const std::string kServers = "Software\\Brennic\\Kelvary\\Servers";
const std::string kGoodFile =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n\"Path\"=\"d:\\\\essbase\"\r\n\r\n";
const std::string kDamagedFile =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n\"Path\"=\"d:\\essbase\"\r\n";

struct FileState {
  std::optional<std::string> bytes = std::string();  // nothing: unreadable
  bool lock_available = true;
  bool replace_works = true;
  int replacements = 0;
  bool locked = false;
  bool replaced_outside_lock = false;
  std::optional<std::string> refusal;
  int reads = 0;
};

class MemoryFile final : public RegistryFileAccess {
 public:
  explicit MemoryFile(FileState& state) : state_(state) {}
  const std::string& Path() const override { return path_; }
  std::optional<std::string> ReadAll(std::string* error) override {
    *error = "Permission denied";
    ++state_.reads;
    return state_.bytes;
  }
  std::optional<std::string> ChangeRefusal() override { return state_.refusal; }
  void WithWriteLock(const std::function<void()>& work) override {
    if (state_.lock_available) {
      state_.locked = true;
      work();
      state_.locked = false;
    }
  }
  bool Replace(std::string_view bytes) override {
    state_.replaced_outside_lock |= !state_.locked;
    if (!state_.replace_works) {
      return false;
    }
    ++state_.replacements;
    state_.bytes = std::string(bytes);
    return true;
  }

 private:
  FileState& state_;
  std::string path_ = kPath;
};

class FileStoreTest : public ::testing::Test {
 protected:
  RegistryTreeBackend Backend() {
    return RegistryTreeBackend(std::make_unique<RegistryFileStore>(std::make_unique<MemoryFile>(state_),
                                                                   CaseMap::Windows1252()));
  }
  std::optional<std::string> Problem() {
    MemoryFile file(state_);
    return DescribeRegistryFileProblem(file, CaseMap::Windows1252());
  }
  FileState state_;
};

TEST_F(FileStoreTest, AChangeRewritesTheWholeFileUnderTheLock) {
  state_.bytes = kGoodFile;
  auto reg = Backend();
  RegWriteText(reg, kUser, kServers + "\\PROD", "Access", "0");
  EXPECT_EQ(state_.replacements, 1);
  EXPECT_FALSE(state_.replaced_outside_lock);
  EXPECT_NE(state_.bytes->find("Servers\\PROD]\r\n\"Path\"=\"d:\\\\essbase\"\r\n\"Access\"=\"0\"\r\n\r\n"),
            std::string::npos)
      << *state_.bytes;
}

TEST_F(FileStoreTest, EnsuringAKeyThatExistsLeavesTheFileAlone) {
  state_.bytes = kGoodFile;
  auto reg = Backend();
  RegEnsureKey(reg, kUser, kServers);
  EXPECT_EQ(state_.replacements, 0);
  EXPECT_FALSE(Problem());
}

// Every change then fails as a corrupt registry, and the problem names the
// file and its wrong line.
TEST_F(FileStoreTest, ADamagedFileReadsAsAnEmptyStoreIsNeverWrittenAndIsDescribed) {
  state_.bytes = kDamagedFile;
  auto reg = Backend();
  RegistryBackend::Key key = 0;
  EXPECT_EQ(reg.CreateKey(kUser, kServers, &key), kRegStoreCorrupt);
  EXPECT_EQ(key, 0u);
  RegWriteText(reg, kUser, kServers + "\\DEV", "Access", "0");
  RegRemoveKey(reg, kUser, kServers + "\\PROD");
  EXPECT_TRUE(RegListSubkeys(reg, kUser, kServers).empty());
  EXPECT_EQ(state_.replacements, 0);
  EXPECT_EQ(*state_.bytes, kDamagedFile);
  const auto problem = Problem();
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind(std::string(kPath) + ", line 4: ", 0), 0u) << *problem;
  EXPECT_NE(problem->find("left unchanged"), std::string::npos) << *problem;
}

TEST_F(FileStoreTest, AnUnreadableFileReadsEmptyIsNotWrittenAndIsDescribed) {
  state_.bytes = std::nullopt;
  auto reg = Backend();
  RegWriteText(reg, kUser, kServers + "\\DEV", "Access", "0");
  EXPECT_TRUE(RegListSubkeys(reg, kUser, kServers).empty());
  EXPECT_EQ(state_.replacements, 0);
  EXPECT_EQ(Problem(), std::string(kPath) + " cannot be read: Permission denied");
}

TEST_F(FileStoreTest, AMissingFileHasNoProblem) { EXPECT_FALSE(Problem()); }

// Without the lock no change is even tried.
TEST_F(FileStoreTest, AChangeWithoutTheLockOrWhoseRewriteFailsIsAFailedChange) {
  for (const bool lock_available : {false, true}) {
    state_.lock_available = lock_available;
    state_.replace_works = false;
    auto reg = Backend();
    RegistryBackend::Key key = 0;
    EXPECT_EQ(reg.CreateKey(kUser, kServers, &key), kRegStoreIoFailed) << lock_available;
    EXPECT_FALSE(state_.replaced_outside_lock);
  }
}

// Listing reads the file once, not once per server: a store of thousands
// lists in a blink.
TEST_F(FileStoreTest, ListingReadsTheFileOnce) {
  state_.bytes = kGoodFile;
  auto reg = Backend();
  for (int server = 0; server < 20; ++server) {
    RegWriteText(reg, kUser, kServers + "\\S" + std::to_string(server), "Access", "0");
  }
  state_.reads = 0;
  EXPECT_EQ(RegListSubkeys(reg, kUser, kServers).size(), 21u);
  EXPECT_LE(state_.reads, 2);
}

TEST_F(FileStoreTest, AFileItsOwnerMadeReadOnlyIsReadButNeverChanged) {
  state_.bytes = kGoodFile;
  state_.refusal = "is read-only";
  auto reg = Backend();
  RegWriteText(reg, kUser, kServers + "\\DEV", "Access", "0");
  RegRemoveKey(reg, kUser, kServers + "\\PROD");
  EXPECT_EQ(state_.replacements, 0);
  EXPECT_EQ(RegListSubkeys(reg, kUser, kServers), std::vector<std::string>{"PROD"});
  EXPECT_FALSE(Problem());
  MemoryFile file(state_);
  EXPECT_EQ(DescribeRegistryFileChangeProblem(file, CaseMap::Windows1252()),
            std::string(kPath) + " is read-only. The server store is left unchanged.");
}

TEST_F(FileStoreTest, AServerNameWithALineBreakIsRefusedAndTheFileKept) {
  state_.bytes = kGoodFile;
  auto reg = Backend();
  RegWriteText(reg, kUser, kServers + "\\A\nB", "Access", "0");
  EXPECT_EQ(state_.replacements, 0);
  EXPECT_EQ(RegListSubkeys(reg, kUser, kServers), std::vector<std::string>{"PROD"});
}

}  // namespace
}  // namespace kelvary
