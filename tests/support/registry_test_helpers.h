#pragma once
// Registry set-ups and clean-ups that go beyond the store's own operations.
#include <string_view>

#include "servers/registry_backend.h"

namespace kelvary {

// Deletes the key and everything below it, deepest keys first; names too
// long for the store's own listing are found too.
void RemoveKeyTree(RegistryBackend& reg, std::string_view key_path);

}  // namespace kelvary
