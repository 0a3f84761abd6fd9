#include "servers/server_definition.h"

#include "servers/registry_store.h"

namespace kelvary {

namespace {
constexpr char kKeySeparator = '\\';
constexpr std::string_view kRefusedInName[] = {"\\", "/", ".."};
constexpr RegRoot kUser = RegRoot::CurrentUser;
}  // namespace

bool IsAcceptableServerName(std::string_view name) {
  if (name.empty() || name.size() > kLongestServerName) return false;
  for (const std::string_view refused : kRefusedInName) {
    if (name.find(refused) != std::string_view::npos) return false;
  }
  return true;
}

std::string StoredPath(std::string_view typed_path) {
  if (typed_path.ends_with(kKeySeparator)) {
    typed_path.remove_suffix(1);
  }
  return std::string(typed_path);
}

bool AddDirectServer(RegistryBackend& reg, std::string_view name, std::string_view typed_path) {
  if (!IsAcceptableServerName(name)) {
    return false;
  }
  const std::string key = ServerKeyPath(name);
  RegWriteText(reg, kUser, key, kPathValue, StoredPath(typed_path));
  RegWriteText(reg, kUser, key, kAccessValue, kDirectAccess);
  return true;
}

bool AddRemoteServer(RegistryBackend& reg, std::string_view name, const RemoteLogin& login) {
  if (!IsAcceptableServerName(name)) {
    return false;
  }
  const std::string key = ServerKeyPath(name);
  RegWriteText(reg, kUser, key, kDnsValue, login.dns);
  RegWriteText(reg, kUser, key, kUserNameValue, login.user_name);
  RegWriteText(reg, kUser, key, kPasswordValue, login.password);
  RegWriteText(reg, kUser, key, kAccessValue, kRemoteAccess);
  return true;
}

}  // namespace kelvary
