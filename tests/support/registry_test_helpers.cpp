#include "support/registry_test_helpers.h"

#include <string>
#include <vector>

namespace kelvary {

namespace {
// Room for the longest name the registry allows (255) and its NUL.
constexpr std::uint32_t kAnyNameSize = 256;
}  // namespace

void RemoveKeyTree(RegistryBackend& reg, std::string_view key_path) {
  std::vector<std::string> subkeys;
  RegistryBackend::Key key = 0;
  if (reg.OpenKey(RegRoot::CurrentUser, key_path, &key) == kRegSuccess) {
    char name[kAnyNameSize];
    for (std::uint32_t index = 0; reg.EnumKey(key, index, name, kAnyNameSize) == kRegSuccess; ++index) {
      subkeys.emplace_back(name);
    }
    reg.CloseKey(key);
  }
  for (const std::string& subkey : subkeys) {
    RemoveKeyTree(reg, std::string(key_path) + "\\" + subkey);
  }
  reg.DeleteKey(RegRoot::CurrentUser, key_path);
}

}  // namespace kelvary
