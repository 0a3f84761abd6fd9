#pragma once
// The server store: the key layout under HKEY_CURRENT_USER and the five
// operations on it. None of them reports failure: reads fall back to the
// default text, listings stop at the first failing index, writes and
// deletions fail silently.
#include <string>
#include <string_view>
#include <vector>

#include "servers/registry_backend.h"

namespace kelvary {

// Set once, by SetStoreKeyPaths() at start-up, before any registry call.
extern std::string strProductKey;  // "Software\Brennic\Kelvary"
extern std::string strServersKey;  // strProductKey + "\Servers"
void SetStoreKeyPaths();

// strServersKey, "\" and the server's name.
std::string ServerKeyPath(std::string_view server_name);

void RegEnsureKey(RegistryBackend& reg, RegRoot root, std::string_view key_path);
std::vector<std::string> RegListSubkeys(RegistryBackend& reg, RegRoot root, std::string_view key_path);
std::string RegReadText(RegistryBackend& reg, RegRoot root, std::string_view key_path,
                        std::string_view value_name, std::string_view default_text = {});
void RegWriteText(RegistryBackend& reg, RegRoot root, std::string_view key_path,
                  std::string_view value_name, std::string_view text);
void RegRemoveKey(RegistryBackend& reg, RegRoot root, std::string_view key_path);

}  // namespace kelvary
