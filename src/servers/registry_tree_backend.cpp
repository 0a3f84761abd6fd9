#include "servers/registry_tree_backend.h"

#include <algorithm>
#include <string>

namespace kelvary {

RegistryTreeBackend::RegistryTreeBackend(std::unique_ptr<RegistryTreeStore> store)
    : store_(std::move(store)) {}

RegistryBackend::Key RegistryTreeBackend::Remember(KeyPath path) {
  const Key key = next_key_++;
  open_keys_.emplace(key, OpenedKey{std::move(path), std::nullopt});
  return key;
}

long RegistryTreeBackend::CreateKey(RegRoot, std::string_view path, Key* key) {
  *key = 0;
  KeyPath parts = SplitKeyPath(path);
  const long status = store_->Update([&](RegistryTree& tree) {
    bool created = false;
    tree.CreateKey(parts, &created);
    return TreeChange{kRegSuccess, created};
  });
  if (status == kRegSuccess) {
    *key = Remember(std::move(parts));
  }
  return status;
}

long RegistryTreeBackend::OpenKey(RegRoot, std::string_view path, Key* key) {
  *key = 0;
  KeyPath parts = SplitKeyPath(path);
  bool exists = false;
  store_->Read([&](const RegistryTree& tree) { exists = tree.FindKey(parts) != nullptr; });
  if (!exists) {
    return kRegFileNotFound;
  }
  *key = Remember(std::move(parts));
  return kRegSuccess;
}

long RegistryTreeBackend::WithOpenKey(
    Key key, const std::function<long(const RegistryKey&, const RegistryTree&)>& use) {
  const auto open = open_keys_.find(key);
  if (open == open_keys_.end()) {
    return kRegInvalidHandle;
  }
  long status = kRegKeyDeleted;
  store_->Read([&](const RegistryTree& tree) {
    if (const RegistryKey* found = tree.FindKey(open->second.path)) {
      status = use(*found, tree);
    }
  });
  return status;
}

long RegistryTreeBackend::EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) {
  const auto open = open_keys_.find(key);
  if (open == open_keys_.end()) {
    return kRegInvalidHandle;
  }
  if (index == 0 || !open->second.listing) {
    std::vector<std::string> names;
    const long status = WithOpenKey(key, [&](const RegistryKey& found, const RegistryTree&) {
      for (const RegistryKey& subkey : found.subkeys) names.push_back(subkey.name);
      return kRegSuccess;
    });
    if (status != kRegSuccess) {
      return status;
    }
    open->second.listing = std::move(names);
  }
  const std::vector<std::string>& listing = *open->second.listing;
  if (index >= listing.size()) {
    return kRegNoMoreItems;
  }
  const std::string& subkey = listing[index];
  if (subkey.size() + 1 > size) {
    return kRegMoreData;
  }
  std::copy(subkey.begin(), subkey.end(), name);
  name[subkey.size()] = '\0';
  return kRegSuccess;
}

long RegistryTreeBackend::QueryValue(Key key, std::string_view name, std::uint32_t* type,
                                     unsigned char* data, std::uint32_t* size) {
  return WithOpenKey(key, [&](const RegistryKey& found, const RegistryTree& tree) {
    const RegistryValue* value = tree.FindValue(found, name);
    if (value == nullptr) {
      return kRegFileNotFound;
    }
    if (type != nullptr) {
      *type = value->type;
    }
    const auto value_size = static_cast<std::uint32_t>(value->data.size());
    if (data != nullptr && (size == nullptr || *size < value_size)) {
      if (size != nullptr) {
        *size = value_size;
      }
      return kRegMoreData;
    }
    if (data != nullptr) {
      std::copy(value->data.begin(), value->data.end(), data);
    }
    if (size != nullptr) {
      *size = value_size;
    }
    return kRegSuccess;
  });
}

long RegistryTreeBackend::SetValue(Key key, std::string_view name, std::uint32_t type,
                                   const unsigned char* data, std::uint32_t size) {
  const auto open = open_keys_.find(key);
  if (open == open_keys_.end()) {
    return kRegInvalidHandle;
  }
  RegistryValue value{std::string(name), type, {}, {}};
  if (data != nullptr) {
    value.data.assign(reinterpret_cast<const char*>(data), size);
  }
  return store_->Update([&](RegistryTree& tree) {
    RegistryKey* found = tree.FindKey(open->second.path);
    if (found == nullptr) {
      return TreeChange{kRegKeyDeleted, false};
    }
    tree.SetValue(*found, std::move(value));
    return TreeChange{kRegSuccess, true};
  });
}

long RegistryTreeBackend::DeleteKey(RegRoot, std::string_view path) {
  const KeyPath parts = SplitKeyPath(path);
  return store_->Update([&](RegistryTree& tree) {
    const long status = tree.DeleteKey(parts);
    return TreeChange{status, status == kRegSuccess};
  });
}

long RegistryTreeBackend::CloseKey(Key key) {
  return open_keys_.erase(key) == 1 ? kRegSuccess : kRegInvalidHandle;
}

}  // namespace kelvary
