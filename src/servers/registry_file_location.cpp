#include "servers/registry_file_location.h"

#include <string_view>

namespace kelvary {

namespace {
constexpr std::string_view kDefaultConfigHome = "/.config";
constexpr std::string_view kStoreFile = "/kelvary/registry.reg";
}  // namespace

std::string RegistryFilePath(const RegistryFileEnvironment& environment) {
  if (!environment.registry_file.empty()) {
    return environment.registry_file;
  }
  // A relative XDG_CONFIG_HOME is to be ignored, as the XDG rules say.
  if (environment.xdg_config_home.starts_with('/')) {
    return environment.xdg_config_home + std::string(kStoreFile);
  }
  return environment.home + std::string(kDefaultConfigHome) + std::string(kStoreFile);
}

}  // namespace kelvary
