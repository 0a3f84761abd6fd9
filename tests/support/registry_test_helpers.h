#pragma once
// Registry set-ups and clean-ups that go beyond the store's own operations.
#include <cstdint>
#include <string_view>

#include "servers/registry_backend.h"

namespace kelvary {

// Creates the key if needed and sets a value of any type to `bytes` exactly
// as given (no NUL added), as another program could have stored it.
void PutRawValue(RegistryBackend& reg, std::string_view key_path, std::string_view value_name,
                 std::uint32_t type, std::string_view bytes);

// Deletes the key and everything below it, deepest keys first; names too
// long for the store's own listing are found too.
void RemoveKeyTree(RegistryBackend& reg, std::string_view key_path);

}  // namespace kelvary
