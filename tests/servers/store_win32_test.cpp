// The store over the real registry (Wine's, in the test prefix).
#include <windows.h>

#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "store_behaviour.h"

namespace kelvary {

std::unique_ptr<RegistryBackend> OpenStoreUnderTest() { return OpenUserRegistry(); }

namespace {

// Wine's ANSI calls take key paths of at most 260 characters, too few for a
// 255-character name below the Servers key: the names are made relative to
// the open Servers key instead, and removed with the whole tree.
constexpr char kLongNamesKey[] = "Software\\Brennic\\KelvaryTests\\LongNames";
constexpr char kLongNamesServers[] = "Software\\Brennic\\KelvaryTests\\LongNames\\Servers";

TEST(Win32LongNames, ANameOf255CharactersIsListedWithTheNamesAfterIt) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kLongNamesKey);
  HKEY servers = nullptr;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kLongNamesServers, &servers), ERROR_SUCCESS);
  const std::vector<std::string> names = {"AAA", "K" + std::string(253, 'x'),  // 254 and the NUL fit
                                          "M" + std::string(254, 'x'), "ZZZ"};
  for (const std::string& name : names) {
    HKEY subkey = nullptr;
    EXPECT_EQ(RegCreateKeyA(servers, name.c_str(), &subkey), ERROR_SUCCESS) << name.size();
    RegCloseKey(subkey);
  }
  RegCloseKey(servers);
  EXPECT_EQ(RegListSubkeys(*OpenUserRegistry(), RegRoot::CurrentUser, kLongNamesServers), names);
  RegDeleteTreeA(HKEY_CURRENT_USER, kLongNamesKey);
}

}  // namespace
}  // namespace kelvary
