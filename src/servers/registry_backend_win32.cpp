// The store over the Windows registry: the advapi32 ANSI entry points under
// HKEY_CURRENT_USER, one call per backend method.
#include <windows.h>

#include <string>

#include "servers/registry_backend.h"
#include "base/case_map.h"

namespace kelvary {

namespace {

HKEY RootHandle(RegRoot) { return HKEY_CURRENT_USER; }

HKEY AsHandle(RegistryBackend::Key key) { return reinterpret_cast<HKEY>(key); }

RegistryBackend::Key AsKey(HKEY handle) { return reinterpret_cast<RegistryBackend::Key>(handle); }

class Win32Registry final : public RegistryBackend {
 public:
  long CreateKey(RegRoot root, std::string_view path, Key* key) override {
    HKEY handle = nullptr;
    const long status = RegCreateKeyA(RootHandle(root), std::string(path).c_str(), &handle);
    *key = AsKey(handle);
    return status;
  }

  long OpenKey(RegRoot root, std::string_view path, Key* key) override {
    HKEY handle = nullptr;
    const long status = RegOpenKeyA(RootHandle(root), std::string(path).c_str(), &handle);
    *key = AsKey(handle);
    return status;
  }

  long EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) override {
    return RegEnumKeyA(AsHandle(key), index, name, size);
  }

  long QueryValue(Key key, std::string_view name, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    DWORD value_type = 0;
    DWORD value_size = size == nullptr ? 0 : *size;
    const long status = RegQueryValueExA(AsHandle(key), std::string(name).c_str(), nullptr, &value_type, data,
                                         size == nullptr ? nullptr : &value_size);
    if (type != nullptr) {
      *type = value_type;
    }
    if (size != nullptr) {
      *size = value_size;
    }
    return status;
  }

  long SetValue(Key key, std::string_view name, std::uint32_t type, const unsigned char* data,
                std::uint32_t size) override {
    return RegSetValueExA(AsHandle(key), std::string(name).c_str(), 0, type, data, size);
  }

  long DeleteKey(RegRoot root, std::string_view path) override {
    return RegDeleteKeyA(RootHandle(root), std::string(path).c_str());
  }

  long CloseKey(Key key) override { return RegCloseKey(AsHandle(key)); }
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenUserRegistry() { return std::make_unique<Win32Registry>(); }

std::optional<std::string> UserRegistryProblem() { return std::nullopt; }

std::optional<std::string> UserRegistryChangeProblem() { return std::nullopt; }

const CaseMap& StoreCaseMap() { return SystemCaseMap(); }

}  // namespace kelvary
