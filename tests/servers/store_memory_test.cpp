// The store over the in-memory stand-in, which can also hold what the
// registry under Wine cannot: Windows' listing order and text without NUL.
#include <memory>

#include "servers/registry_store.h"
#include "store_behaviour.h"
#include "support/memory_registry.h"
#include "support/registry_test_helpers.h"

namespace kelvary {
namespace {

INSTANTIATE_TEST_SUITE_P(Memory, StoreBehaviour,
                         ::testing::Values(StoreUnderTest{"Memory", [] { return std::make_unique<MemoryRegistry>(); }}),
                         [](const auto& info) { return info.param.name; });

constexpr RegRoot kUser = RegRoot::CurrentUser;
const std::string kServers = "Software\\Brennic\\Kelvary\\Servers";
using Names = std::vector<std::string>;

class MemoryRegistryTest : public ::testing::Test {
 protected:
  void AddServers(const Names& names) {
    for (const std::string& name : names) RegEnsureKey(reg_, kUser, kServers + "\\" + name);
  }
  RegistryBackend::Key OpenServers() {
    RegistryBackend::Key key = 0;
    reg_.OpenKey(kUser, kServers, &key);
    return key;
  }
  MemoryRegistry reg_;
};

TEST_F(MemoryRegistryTest, ListsNamesAsWindowsDoesWithUnderscoreAfterZ) {
  AddServers({"_x", "Zeta", "alpha", "[lab]", "1st"});
  EXPECT_EQ(RegListSubkeys(reg_, kUser, kServers), (Names{"1st", "alpha", "Zeta", "[lab]", "_x"}));
}

TEST_F(MemoryRegistryTest, ANameOf255CharactersIsListedWithTheNamesAfterIt) {
  const std::string longest_listed = "K" + std::string(253, 'x');  // 254 and the NUL fit
  const std::string registry_longest = "M" + std::string(254, 'x');
  AddServers({"AAA", longest_listed, registry_longest, "ZZZ"});
  EXPECT_EQ(RegListSubkeys(reg_, kUser, kServers), (Names{"AAA", longest_listed, registry_longest, "ZZZ"}));
}

TEST_F(MemoryRegistryTest, AccentedNamesCompareWithoutRegardToCase) {
  AddServers({"\xC9TUDE", "\xE9tude"});
  EXPECT_EQ(RegListSubkeys(reg_, kUser, kServers), Names{"\xC9TUDE"});
}

// A text without NUL is handed back without one; one too big for the buffer
// answers "more data" with the size it needs.
TEST_F(MemoryRegistryTest, QueryValueAnswersTheStoredSizeAndMoreDataWhenItDoesNotFit) {
  PutRawValue(reg_, kServers, "DNS", kRegSz, "ess01");
  RegWriteText(reg_, kUser, kServers, "Path", "d:\\essbase");
  const RegistryBackend::Key key = OpenServers();
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(reg_.QueryValue(key, "DNS", &type, nullptr, &size), kRegSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 5u);
  unsigned char data[4];
  size = sizeof data;
  EXPECT_EQ(reg_.QueryValue(key, "Path", &type, data, &size), kRegMoreData);
  EXPECT_EQ(size, 11u);
  reg_.CloseKey(key);
}

TEST_F(MemoryRegistryTest, AKeyDeletedWhileOpenAnswersKeyDeleted) {
  RegEnsureKey(reg_, kUser, kServers);
  const RegistryBackend::Key key = OpenServers();
  reg_.DeleteKey(kUser, kServers);
  char name[8];
  EXPECT_EQ(reg_.EnumKey(key, 0, name, sizeof name), kRegKeyDeleted);
  EXPECT_EQ(reg_.CloseKey(key), kRegSuccess);
  EXPECT_EQ(reg_.CloseKey(key), kRegInvalidHandle);
}

}  // namespace
}  // namespace kelvary
