#pragma once
// A server's definition in the store: the names of its values, and how a
// server is added (as the add dialog and `kelvary-cli servers add` store it).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "servers/registry_backend.h"

namespace kelvary {

inline constexpr std::string_view kPathValue = "Path";
inline constexpr std::string_view kDnsValue = "DNS";
inline constexpr std::string_view kUserNameValue = "UserName";
inline constexpr std::string_view kPasswordValue = "Password";
inline constexpr std::string_view kAccessValue = "Access";
// Every value a server may hold, in the order they are shown.
inline constexpr std::array<std::string_view, 5> kServerValues = {kPathValue, kDnsValue, kUserNameValue,
                                                                  kPasswordValue, kAccessValue};

inline constexpr std::string_view kDirectAccess = "0";
inline constexpr std::string_view kRemoteAccess = "1";  // anything else is direct access

// An empty name would put values on the Servers key itself, a backslash
// makes nested keys that the remove dialog cannot delete, and the registry
// holds no key name longer than 255 characters (on Windows a longer one is
// refused halfway through an add, after some of its values were written).
// A slash or two dots would lead the name of a remote log's local copy out
// of its folder.
inline constexpr std::size_t kLongestServerName = 255;
inline constexpr std::string_view kServerNameRefusal =
    "A server name must not be empty, be longer than 255 characters or contain a backslash (\\), "
    "a slash (/) or two dots (..).";
bool IsAcceptableServerName(std::string_view name);

struct RemoteLogin {
  std::string dns;
  std::string user_name;
  std::string password;
};

// The path as stored: one trailing backslash removed, nothing else changed.
std::string StoredPath(std::string_view typed_path);

// Each writes `Path` (or `DNS`, `UserName`, `Password`) and then `Access`
// under the server's key, creating it; values of the other kind stay. Both
// write nothing and return false for a name that is not acceptable. The
// store paths must be set (SetStoreKeyPaths).
bool AddDirectServer(RegistryBackend& reg, std::string_view name, std::string_view typed_path);
bool AddRemoteServer(RegistryBackend& reg, std::string_view name, const RemoteLogin& login);

}  // namespace kelvary
