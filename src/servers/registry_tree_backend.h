#pragma once
// The registry calls over a RegistryTree that lives somewhere else between
// calls (a .reg file, or memory in tests). Every call goes to the tree as it
// stands at that moment: an open key is only its path, as a registry handle
// sees the changes of others. The one exception is a listing: asking for
// subkey 0 takes the names of all of them, and the later indexes answer from
// those names, so that listing n keys reads the tree once rather than n times.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "servers/registry_backend.h"
#include "servers/registry_tree.h"

namespace kelvary {

// What a change did: the registry status it ends with, and whether it
// altered the tree (only then is the tree written back).
struct TreeChange {
  long status = kRegSuccess;
  bool altered = false;
};

class RegistryTreeStore {
 public:
  virtual ~RegistryTreeStore() = default;
  // Hands `use` the tree as it stands now; an empty tree when it cannot be read.
  virtual void Read(const std::function<void(const RegistryTree&)>& use) = 0;
  // Applies `change` to the tree as it stands now and keeps the altered
  // tree; the change's status, or the store's own failure when it cannot
  // read or keep the tree (then nothing is changed).
  virtual long Update(const std::function<TreeChange(RegistryTree&)>& change) = 0;
};

class RegistryTreeBackend : public RegistryBackend {
 public:
  explicit RegistryTreeBackend(std::unique_ptr<RegistryTreeStore> store);

  long CreateKey(RegRoot root, std::string_view path, Key* key) override;
  long OpenKey(RegRoot root, std::string_view path, Key* key) override;
  long EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) override;
  long QueryValue(Key key, std::string_view name, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override;
  long SetValue(Key key, std::string_view name, std::uint32_t type, const unsigned char* data,
                std::uint32_t size) override;
  long DeleteKey(RegRoot root, std::string_view path) override;
  long CloseKey(Key key) override;

 private:
  struct OpenedKey {
    KeyPath path;
    std::optional<std::vector<std::string>> listing;  // taken at subkey 0
  };

  Key Remember(KeyPath path);
  // Runs `use` on the open key's current state, or answers as the registry
  // does for a key that is not open or no longer exists.
  long WithOpenKey(Key key, const std::function<long(const RegistryKey&, const RegistryTree&)>& use);

  std::unique_ptr<RegistryTreeStore> store_;
  std::map<Key, OpenedKey> open_keys_;
  Key next_key_ = 1;
};

}  // namespace kelvary
