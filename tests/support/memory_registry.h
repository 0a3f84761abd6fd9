#pragma once
// A registry kept in memory for tests, with the Windows registry's rules:
// key and value names compare without regard to case and keep their first
// spelling, subkeys list in Windows order (upper-cased names), a key with
// subkeys cannot be deleted, and values keep whatever type and bytes they
// were set with (a text without its NUL, a REG_DWORD...), which the real
// registry under Wine does not allow.
#include "servers/registry_tree_backend.h"

namespace kelvary {

class MemoryRegistry final : public RegistryTreeBackend {
 public:
  MemoryRegistry();
};

}  // namespace kelvary
