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
constexpr char kServers[] = "Software\\Brennic\\Kelvary\\Servers";

TEST(MemoryRegistry, ListsNamesAsWindowsDoesWithUnderscoreAfterZ) {
  MemoryRegistry reg;
  for (const char* name : {"_x", "Zeta", "alpha", "[lab]", "1st"}) {
    RegEnsureKey(reg, kUser, std::string(kServers) + "\\" + name);
  }
  EXPECT_EQ(RegListSubkeys(reg, kUser, kServers),
            (std::vector<std::string>{"1st", "alpha", "Zeta", "[lab]", "_x"}));
}

TEST(MemoryRegistry, ANameOf255CharactersEndsTheListingAtItsIndex) {
  MemoryRegistry reg;
  const std::string longest_listed = "K" + std::string(253, 'x');  // 254 and the NUL fit
  const std::string too_long = "M" + std::string(254, 'x');
  for (const std::string& name : {std::string("AAA"), longest_listed, too_long, std::string("ZZZ")}) {
    RegEnsureKey(reg, kUser, std::string(kServers) + "\\" + name);
  }
  EXPECT_EQ(RegListSubkeys(reg, kUser, kServers), (std::vector<std::string>{"AAA", longest_listed}));
}

TEST(MemoryRegistry, AccentedNamesCompareWithoutRegardToCase) {
  MemoryRegistry reg;
  RegWriteText(reg, kUser, std::string(kServers) + "\\\xC9TUDE", "Path", "a");
  RegWriteText(reg, kUser, std::string(kServers) + "\\\xE9tude", "Access", "0");
  EXPECT_EQ(RegListSubkeys(reg, kUser, kServers), std::vector<std::string>{"\xC9TUDE"});
}

TEST(MemoryRegistry, ATextWithoutNulIsHandedBackWithoutOne) {
  MemoryRegistry reg;
  PutRawValue(reg, kServers, "DNS", kRegSz, "ess01");
  RegistryBackend::Key key = 0;
  reg.OpenKey(kUser, kServers, &key);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(reg.QueryValue(key, "DNS", &type, nullptr, &size), kRegSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 5u);
  reg.CloseKey(key);
}

TEST(MemoryRegistry, AKeyDeletedWhileOpenAnswersKeyDeleted) {
  MemoryRegistry reg;
  RegistryBackend::Key key = 0;
  reg.CreateKey(kUser, kServers, &key);
  reg.DeleteKey(kUser, kServers);
  char name[8];
  EXPECT_EQ(reg.EnumKey(key, 0, name, sizeof name), kRegKeyDeleted);
  EXPECT_EQ(reg.CloseKey(key), kRegSuccess);
  EXPECT_EQ(reg.CloseKey(key), kRegInvalidHandle);
}

TEST(MemoryRegistry, AValueTooBigForTheBufferAnswersMoreDataWithItsSize) {
  MemoryRegistry reg;
  RegWriteText(reg, kUser, kServers, "Path", "d:\\essbase");
  RegistryBackend::Key key = 0;
  reg.OpenKey(kUser, kServers, &key);
  unsigned char data[4];
  std::uint32_t type = 0;
  std::uint32_t size = sizeof data;
  EXPECT_EQ(reg.QueryValue(key, "Path", &type, data, &size), kRegMoreData);
  EXPECT_EQ(size, 11u);
  reg.CloseKey(key);
}

}  // namespace
}  // namespace kelvary
