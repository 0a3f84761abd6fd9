#pragma once
// Registry set-ups and clean-ups that go beyond the store's own operations.
#include <string>
#include <string_view>
#include <vector>

#include "servers/registry_backend.h"

namespace kelvary {

// Deletes the key and everything below it, deepest keys first; names too
// long for the store's own listing are found too.
inline void RemoveKeyTree(RegistryBackend& reg, std::string_view key_path) {
  constexpr std::uint32_t kAnyNameSize = 256;  // the longest name the registry allows, and its NUL
  std::vector<std::string> subkeys;
  RegistryBackend::Key key = 0;
  if (reg.OpenKey(RegRoot::CurrentUser, key_path, &key) == kRegSuccess) {
    char name[kAnyNameSize];
    for (std::uint32_t index = 0; reg.EnumKey(key, index, name, kAnyNameSize) == kRegSuccess; ++index) {
      subkeys.emplace_back(name);
    }
    reg.CloseKey(key);
  }
  for (const std::string& subkey : subkeys) RemoveKeyTree(reg, std::string(key_path) + "\\" + subkey);
  reg.DeleteKey(RegRoot::CurrentUser, key_path);
}

}  // namespace kelvary
