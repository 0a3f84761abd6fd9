#pragma once
// Keys and values held as the Windows registry holds them, for the stores
// that keep them outside it (a .reg file, memory in tests): names compare
// without regard to case and keep the spelling they were created with, and
// subkeys list in the order Windows lists them (names compared upper-cased).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/case_map.h"
#include "servers/registry_backend.h"

namespace kelvary {

// A key path split at its backslashes; empty parts (a trailing backslash)
// name no key, so "A\B\" is "A\B" and "" is the root.
using KeyPath = std::vector<std::string>;
KeyPath SplitKeyPath(std::string_view path);

struct RegistryValue {
  std::string name;
  std::uint32_t type = kRegSz;
  std::string data;  // the value's bytes; a text value's include its NUL
  // For a value read from a .reg file in any form but a quoted text: the
  // text after '=' as written there, so that a rewrite keeps it as it was.
  std::string file_text;
};

struct RegistryKey {
  std::string name;
  std::string folded_name;            // upper-cased: how names compare and list
  std::vector<RegistryValue> values;  // in the order they were created
  std::vector<RegistryKey> subkeys;   // in listing order, by folded name
};

class RegistryTree {
 public:
  explicit RegistryTree(const CaseMap& cases) : cases_(&cases) {}

  const RegistryKey& Root() const { return root_; }
  const CaseMap& Cases() const { return *cases_; }

  const RegistryKey* FindKey(const KeyPath& path) const;
  RegistryKey* FindKey(const KeyPath& path);
  // Creates the key and any missing key above it; `created` tells whether
  // any was missing.
  RegistryKey& CreateKey(const KeyPath& path, bool* created);
  // kRegFileNotFound for a missing key, kRegAccessDenied for the root or a
  // key with subkeys, as the registry refuses them.
  long DeleteKey(const KeyPath& path);

  const RegistryValue* FindValue(const RegistryKey& key, std::string_view name) const;
  // Replaces a value of the same name, which keeps its spelling, or adds it.
  void SetValue(RegistryKey& key, RegistryValue value) const;

 private:
  // The value in `values` whose name matches `name`, or null.
  template <typename Values>
  auto FindNamedValue(Values& values, std::string_view name) const -> decltype(values.data());
  // Where a subkey of `folded_name` is or would go in `parent`'s listing:
  // a key is found, or added, in time logarithmic in the number of subkeys.
  static std::vector<RegistryKey>::iterator SubkeyPlace(RegistryKey& parent, std::string_view folded_name);
  RegistryKey* FindSubkey(RegistryKey& parent, std::string_view name) const;

  const CaseMap* cases_;
  RegistryKey root_;
};

}  // namespace kelvary
