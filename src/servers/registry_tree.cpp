#include "servers/registry_tree.h"

#include <algorithm>
#include <utility>

namespace kelvary {

namespace {
constexpr char kKeySeparator = '\\';
}  // namespace

KeyPath SplitKeyPath(std::string_view path) {
  KeyPath parts;
  while (!path.empty()) {
    const std::size_t separator = path.find(kKeySeparator);
    const std::string_view part = path.substr(0, separator);
    if (!part.empty()) {
      parts.emplace_back(part);
    }
    path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
  }
  return parts;
}

template <typename Items>
auto RegistryTree::FindNamed(Items& items, std::string_view name) const -> decltype(items.data()) {
  const std::string upper_name = cases_->Upper(name);
  for (auto& item : items) {
    if (cases_->Upper(item.name) == upper_name) {
      return &item;
    }
  }
  return nullptr;
}

RegistryKey& RegistryTree::AddSubkey(RegistryKey& parent, std::string_view name) const {
  // std::string compares its bytes as unsigned, as the registry orders them.
  const std::string upper_name = cases_->Upper(name);
  const auto place = std::find_if(parent.subkeys.begin(), parent.subkeys.end(),
                                  [&](const RegistryKey& key) { return cases_->Upper(key.name) > upper_name; });
  return *parent.subkeys.insert(place, RegistryKey{std::string(name), {}, {}});
}

const RegistryKey* RegistryTree::FindKey(const KeyPath& path) const {
  const RegistryKey* key = &root_;
  for (auto name = path.begin(); key != nullptr && name != path.end(); ++name) {
    key = FindNamed(key->subkeys, *name);
  }
  return key;
}

RegistryKey* RegistryTree::FindKey(const KeyPath& path) {
  return const_cast<RegistryKey*>(std::as_const(*this).FindKey(path));
}

RegistryKey& RegistryTree::CreateKey(const KeyPath& path, bool* created) {
  *created = false;
  RegistryKey* key = &root_;
  for (const std::string& name : path) {
    RegistryKey* existing = FindNamed(key->subkeys, name);
    if (existing == nullptr) {
      existing = &AddSubkey(*key, name);
      *created = true;
    }
    key = existing;
  }
  return *key;
}

long RegistryTree::DeleteKey(const KeyPath& path) {
  if (path.empty()) {
    return kRegAccessDenied;
  }
  RegistryKey* parent = FindKey(KeyPath(path.begin(), path.end() - 1));
  RegistryKey* key = parent == nullptr ? nullptr : FindNamed(parent->subkeys, path.back());
  if (key == nullptr) {
    return kRegFileNotFound;
  }
  if (!key->subkeys.empty()) {
    return kRegAccessDenied;
  }
  parent->subkeys.erase(parent->subkeys.begin() + (key - parent->subkeys.data()));
  return kRegSuccess;
}

const RegistryValue* RegistryTree::FindValue(const RegistryKey& key, std::string_view name) const {
  return FindNamed(key.values, name);
}

void RegistryTree::SetValue(RegistryKey& key, RegistryValue value) const {
  RegistryValue* existing = FindNamed(key.values, value.name);
  if (existing == nullptr) {
    key.values.push_back(std::move(value));
    return;
  }
  value.name = existing->name;
  *existing = std::move(value);
}

}  // namespace kelvary
