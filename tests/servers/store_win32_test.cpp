// The store over the real registry (Wine's, in the test prefix).
#include <windows.h>

#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "store_behaviour.h"

namespace kelvary {
namespace {

INSTANTIATE_TEST_SUITE_P(Win32, StoreBehaviour,
                         ::testing::Values(StoreUnderTest{"Registry", [] { return OpenUserRegistry(); }}),
                         [](const auto& info) { return info.param.name; });

// Wine's ANSI calls take key paths of at most 260 characters, too few for a
// 255-character name below the Servers key: the names are made relative to
// the open Servers key instead, and removed with the whole tree.
constexpr char kLongNamesKey[] = "Software\\Brennic\\KelvaryTests\\LongNames";
constexpr char kLongNamesServers[] = "Software\\Brennic\\KelvaryTests\\LongNames\\Servers";

class Win32LongNames : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kLongNamesKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kLongNamesKey); }

  static void CreateSubkeys(const std::vector<std::string>& names) {
    HKEY servers = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kLongNamesServers, &servers), ERROR_SUCCESS);
    for (const std::string& name : names) {
      HKEY subkey = nullptr;
      ASSERT_EQ(RegCreateKeyA(servers, name.c_str(), &subkey), ERROR_SUCCESS) << name.size();
      RegCloseKey(subkey);
    }
    RegCloseKey(servers);
  }
};

TEST_F(Win32LongNames, ANameOf255CharactersIsListedWithTheNamesAfterIt) {
  const std::string longest_listed = "K" + std::string(253, 'x');  // 254 and the NUL fit
  const std::string too_long = "M" + std::string(254, 'x');
  CreateSubkeys({"AAA", longest_listed, too_long, "ZZZ"});
  const auto reg = OpenUserRegistry();
  EXPECT_EQ(RegListSubkeys(*reg, RegRoot::CurrentUser, kLongNamesServers),
            (std::vector<std::string>{"AAA", longest_listed, too_long, "ZZZ"}));
}

}  // namespace
}  // namespace kelvary
