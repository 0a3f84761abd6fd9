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

template <typename Values>
auto RegistryTree::FindNamedValue(Values& values, std::string_view name) const -> decltype(values.data()) {
  const std::string upper_name = cases_->Upper(name);
  for (auto& value : values) {
    if (cases_->Upper(value.name) == upper_name) {
      return &value;
    }
  }
  return nullptr;
}

std::vector<RegistryKey>::iterator RegistryTree::SubkeyPlace(RegistryKey& parent, std::string_view folded_name) {
  // std::string compares its bytes as unsigned, as the registry orders them.
  return std::lower_bound(parent.subkeys.begin(), parent.subkeys.end(), folded_name,
                          [](const RegistryKey& key, std::string_view folded) { return key.folded_name < folded; });
}

RegistryKey* RegistryTree::FindSubkey(RegistryKey& parent, std::string_view name) const {
  const std::string folded = cases_->Upper(name);
  const auto place = SubkeyPlace(parent, folded);
  return place != parent.subkeys.end() && place->folded_name == folded ? &*place : nullptr;
}

const RegistryKey* RegistryTree::FindKey(const KeyPath& path) const {
  return const_cast<RegistryTree*>(this)->FindKey(path);
}

RegistryKey* RegistryTree::FindKey(const KeyPath& path) {
  RegistryKey* key = &root_;
  for (auto name = path.begin(); key != nullptr && name != path.end(); ++name) {
    key = FindSubkey(*key, *name);
  }
  return key;
}

RegistryKey& RegistryTree::CreateKey(const KeyPath& path, bool* created) {
  *created = false;
  RegistryKey* key = &root_;
  for (const std::string& name : path) {
    std::string folded = cases_->Upper(name);
    auto place = SubkeyPlace(*key, folded);
    if (place == key->subkeys.end() || place->folded_name != folded) {
      place = key->subkeys.insert(place, RegistryKey{name, std::move(folded), {}, {}});
      *created = true;
    }
    key = &*place;
  }
  return *key;
}

long RegistryTree::DeleteKey(const KeyPath& path) {
  if (path.empty()) {
    return kRegAccessDenied;
  }
  RegistryKey* parent = FindKey(KeyPath(path.begin(), path.end() - 1));
  RegistryKey* key = parent == nullptr ? nullptr : FindSubkey(*parent, path.back());
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
  return FindNamedValue(key.values, name);
}

void RegistryTree::SetValue(RegistryKey& key, RegistryValue value) const {
  RegistryValue* existing = FindNamedValue(key.values, value.name);
  if (existing == nullptr) {
    key.values.push_back(std::move(value));
    return;
  }
  value.name = existing->name;
  *existing = std::move(value);
}

}  // namespace kelvary
