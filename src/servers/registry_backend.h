#pragma once
// The registry calls the store makes, one method per advapi32 ANSI entry
// point, so that the store's rules live in portable code and run over the
// Windows registry or over a file where there is none.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kelvary {

class CaseMap;

enum class RegRoot { CurrentUser };

// Status codes, as the Windows registry returns them.
inline constexpr long kRegSuccess = 0;
inline constexpr long kRegFileNotFound = 2;
inline constexpr long kRegAccessDenied = 5;
inline constexpr long kRegInvalidHandle = 6;
inline constexpr long kRegMoreData = 234;
inline constexpr long kRegNoMoreItems = 259;
inline constexpr long kRegStoreCorrupt = 1015;  // ERROR_REGISTRY_CORRUPT
inline constexpr long kRegStoreIoFailed = 1016;  // ERROR_REGISTRY_IO_FAILED
inline constexpr long kRegKeyDeleted = 1018;

// Value types, as the Windows registry numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

class RegistryBackend {
 public:
  using Key = std::uintptr_t;  // an open key; 0 is none

  virtual ~RegistryBackend() = default;
  virtual long CreateKey(RegRoot root, std::string_view path, Key* key) = 0;  // RegCreateKeyA
  virtual long OpenKey(RegRoot root, std::string_view path, Key* key) = 0;    // RegOpenKeyA
  // RegEnumKeyA: the name and its NUL into `name`, at most `size` bytes.
  virtual long EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) = 0;
  // RegQueryValueExA: with `data` null, reports type and size only.
  virtual long QueryValue(Key key, std::string_view name, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* size) = 0;
  virtual long SetValue(Key key, std::string_view name, std::uint32_t type,
                        const unsigned char* data, std::uint32_t size) = 0;  // RegSetValueExA
  virtual long DeleteKey(RegRoot root, std::string_view path) = 0;         // RegDeleteKeyA
  virtual long CloseKey(Key key) = 0;                                       // RegCloseKey
};

// The current user's store: the Windows registry on Windows; elsewhere the
// .reg file named by KELVARY_REGISTRY_FILE, or
// $XDG_CONFIG_HOME/kelvary/registry.reg (~/.config/kelvary/registry.reg).
// Implemented by the platform layer.
std::unique_ptr<RegistryBackend> OpenUserRegistry();

// Why the current user's store cannot be used, as one line naming the file
// and the line that is wrong; nothing when it can (always on Windows). The
// store operations themselves report no failure, so kelvary-cli asks here.
std::optional<std::string> UserRegistryProblem();
// The same, and also why the store may be read but not changed (a store
// file its owner made read-only); to ask before a change.
std::optional<std::string> UserRegistryChangeProblem();

// How the current user's store compares key names: as the system's code
// page does on Windows; as UTF-8 text elsewhere.
const CaseMap& StoreCaseMap();

}  // namespace kelvary
