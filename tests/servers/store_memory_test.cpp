// The store over the in-memory stand-in, which can also hold what the
// registry under Wine cannot: Windows' listing order and text without NUL.
#include <memory>

#include "servers/registry_store.h"
#include "store_behaviour.h"
#include "support/memory_registry.h"

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

// Names compare without regard to case, accented ones too, and list by
// their upper-cased bytes: "_" after "Z".
TEST_F(MemoryRegistryTest, ListsNamesAsWindowsDoes) {
  AddServers({"_x", "Zeta", "alpha", "[lab]", "1st", "\xC9TUDE", "\xE9tude"});
  EXPECT_EQ(RegListSubkeys(reg_, kUser, kServers), (Names{"1st", "alpha", "Zeta", "[lab]", "_x", "\xC9TUDE"}));
}

// One too big for the buffer answers "more data" with the size it needs; a
// key deleted while open answers "key deleted".
TEST_F(MemoryRegistryTest, QueryValueAnswersMoreDataAndADeletedKeyKeyDeleted) {
  RegWriteText(reg_, kUser, kServers, "Path", "d:\\essbase");
  const RegistryBackend::Key key = OpenServers();
  std::uint32_t type = 0;
  unsigned char data[4];
  std::uint32_t size = sizeof data;
  EXPECT_EQ(reg_.QueryValue(key, "Path", &type, data, &size), kRegMoreData);
  EXPECT_EQ(size, 11u);
  reg_.DeleteKey(kUser, kServers);
  char name[8];
  EXPECT_EQ(reg_.EnumKey(key, 0, name, sizeof name), kRegKeyDeleted);
  EXPECT_EQ(reg_.CloseKey(key), kRegSuccess);
  EXPECT_EQ(reg_.CloseKey(key), kRegInvalidHandle);
}

}  // namespace
}  // namespace kelvary
