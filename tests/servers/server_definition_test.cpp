// Adding a server as the add dialog and `kelvary-cli servers add` store it.
#include "servers/server_definition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "support/memory_registry.h"

namespace kelvary {
namespace {

constexpr RegRoot kUser = RegRoot::CurrentUser;

// Notes the value names set, in order, on their way to a memory registry.
class WriteRecorder final : public RegistryBackend {
 public:
  std::vector<std::string> writes;
  MemoryRegistry memory;

  long CreateKey(RegRoot root, std::string_view path, Key* key) override { return memory.CreateKey(root, path, key); }
  long OpenKey(RegRoot root, std::string_view path, Key* key) override { return memory.OpenKey(root, path, key); }
  long EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) override {
    return memory.EnumKey(key, index, name, size);
  }
  long QueryValue(Key key, std::string_view name, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    return memory.QueryValue(key, name, type, data, size);
  }
  long SetValue(Key key, std::string_view name, std::uint32_t type, const unsigned char* data,
                std::uint32_t size) override {
    writes.emplace_back(name);
    return memory.SetValue(key, name, type, data, size);
  }
  long DeleteKey(RegRoot root, std::string_view path) override { return memory.DeleteKey(root, path); }
  long CloseKey(Key key) override { return memory.CloseKey(key); }
};

class ServerDefinition : public ::testing::Test {
 protected:
  void SetUp() override { SetStoreKeyPaths(); }
  std::string Read(const std::string& server, std::string_view value) {
    return RegReadText(reg_, kUser, ServerKeyPath(server), value, "(missing)");
  }
  WriteRecorder reg_;
};

struct PathCase {
  const char* typed;
  const char* stored;
};

class StoredPathOf : public ::testing::TestWithParam<PathCase> {};

TEST_P(StoredPathOf, DropsOneTrailingBackslashOnly) { EXPECT_EQ(StoredPath(GetParam().typed), GetParam().stored); }

INSTANTIATE_TEST_SUITE_P(Paths, StoredPathOf,
                         ::testing::Values(PathCase{"d:\\essbase\\", "d:\\essbase"},
                                           PathCase{"d:\\essbase\\\\", "d:\\essbase\\"},
                                           PathCase{"d:\\essbase", "d:\\essbase"},
                                           PathCase{"\\\\fs01\\ess\\", "\\\\fs01\\ess"},
                                           PathCase{"\\", ""}, PathCase{"", ""},
                                           PathCase{" d:\\e \\", " d:\\e "}));

TEST(ServerName, EmptyOrWithABackslashIsNotAcceptable) {
  EXPECT_TRUE(IsAcceptableServerName("PROD"));
  EXPECT_TRUE(IsAcceptableServerName(" prod east/2 "));
  EXPECT_FALSE(IsAcceptableServerName(""));
  EXPECT_FALSE(IsAcceptableServerName("a\\b"));
  EXPECT_FALSE(IsAcceptableServerName("PROD\\"));
  EXPECT_EQ(kServerNameRefusal, "A server name must not be empty or contain a backslash (\\).");
}

TEST_F(ServerDefinition, DirectAccessWritesPathThenAccess0) {
  EXPECT_TRUE(AddDirectServer(reg_, "PROD", "d:\\essbase\\"));
  EXPECT_EQ(reg_.writes, (std::vector<std::string>{"Path", "Access"}));
  EXPECT_EQ(Read("PROD", kPathValue), "d:\\essbase");
  EXPECT_EQ(Read("PROD", kAccessValue), "0");
}

TEST_F(ServerDefinition, RemoteAccessWritesDnsUserNamePasswordThenAccess1) {
  EXPECT_TRUE(AddRemoteServer(reg_, "ESS", {"ess01", "admin", "pw"}));
  EXPECT_EQ(reg_.writes, (std::vector<std::string>{"DNS", "UserName", "Password", "Access"}));
  EXPECT_EQ(Read("ESS", kDnsValue), "ess01");
  EXPECT_EQ(Read("ESS", kUserNameValue), "admin");
  EXPECT_EQ(Read("ESS", kPasswordValue), "pw");
  EXPECT_EQ(Read("ESS", kAccessValue), "1");
}

TEST_F(ServerDefinition, EmptyBoxesAreStoredAsEmptyTexts) {
  AddRemoteServer(reg_, "ESS", {"", "", ""});
  EXPECT_EQ(Read("ESS", kPasswordValue), "");
  AddDirectServer(reg_, "DIR", "");
  EXPECT_EQ(Read("DIR", kPathValue), "");
}

TEST_F(ServerDefinition, AddingTheOtherKindKeepsTheOldValues) {
  AddDirectServer(reg_, "PROD", "d:\\essbase");
  AddRemoteServer(reg_, "prod", {"ess01", "admin", "pw"});
  EXPECT_EQ(RegListSubkeys(reg_, kUser, strServersKey), std::vector<std::string>{"PROD"});
  EXPECT_EQ(Read("PROD", kPathValue), "d:\\essbase");
  EXPECT_EQ(Read("PROD", kAccessValue), "1");
}

TEST_F(ServerDefinition, ARefusedNameWritesNothing) {
  EXPECT_FALSE(AddDirectServer(reg_, "", "d:\\essbase"));
  EXPECT_FALSE(AddRemoteServer(reg_, "a\\b", {"ess01", "admin", "pw"}));
  EXPECT_TRUE(reg_.writes.empty());
  EXPECT_EQ(RegReadText(reg_, kUser, strServersKey, kPathValue, "(missing)"), "(missing)");
}

}  // namespace
}  // namespace kelvary
