#pragma once
// A registry kept in memory for tests, with the Windows registry's rules:
// key and value names compare without regard to case and keep their first
// spelling, subkeys list in Windows order (upper-cased names), a key with
// subkeys cannot be deleted, and values keep whatever type and bytes they
// were set with (a text without its NUL, a REG_DWORD...), which the real
// registry under Wine does not allow.
#include <memory>

#include "servers/registry_tree_backend.h"

namespace kelvary {

class MemoryRegistry final : public RegistryTreeBackend {
 public:
  MemoryRegistry() : RegistryTreeBackend(std::make_unique<TreeInMemory>()) {}

 private:
  class TreeInMemory final : public RegistryTreeStore {
   public:
    void Read(const std::function<void(const RegistryTree&)>& use) override { use(tree_); }
    long Update(const std::function<TreeChange(RegistryTree&)>& change) override { return change(tree_).status; }

   private:
    RegistryTree tree_{CaseMap::Windows1252()};
  };
};

}  // namespace kelvary
