#pragma once
// A registry backend that hands every call on to another one and notes the
// changes it was asked to make, in order: what a caller wrote and deleted
// is seen at the boundary, while the real backend keeps the values.
#include <string>
#include <vector>

#include "servers/registry_backend.h"

namespace kelvary {

class RecordingRegistry final : public RegistryBackend {
 public:
  explicit RecordingRegistry(RegistryBackend& target) : target_(target) {}

  // "set <value name>" for each value set, "delete <key path>" for each key
  // deleted, in the order asked.
  const std::vector<std::string>& Changes() const { return changes_; }
  void ForgetChanges() { changes_.clear(); }

  long CreateKey(RegRoot root, std::string_view path, Key* key) override { return target_.CreateKey(root, path, key); }
  long OpenKey(RegRoot root, std::string_view path, Key* key) override { return target_.OpenKey(root, path, key); }
  long EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) override {
    return target_.EnumKey(key, index, name, size);
  }
  long QueryValue(Key key, std::string_view name, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    return target_.QueryValue(key, name, type, data, size);
  }
  long SetValue(Key key, std::string_view name, std::uint32_t type, const unsigned char* data,
                std::uint32_t size) override {
    changes_.push_back("set " + std::string(name));
    return target_.SetValue(key, name, type, data, size);
  }
  long DeleteKey(RegRoot root, std::string_view path) override {
    changes_.push_back("delete " + std::string(path));
    return target_.DeleteKey(root, path);
  }
  long CloseKey(Key key) override { return target_.CloseKey(key); }

 private:
  RegistryBackend& target_;
  std::vector<std::string> changes_;
};

}  // namespace kelvary
