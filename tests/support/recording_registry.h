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
  RegistryBackend& target_;
  std::vector<std::string> changes_;
};

}  // namespace kelvary
