#pragma once
// Where the .reg store lives without a registry: the file named by
// KELVARY_REGISTRY_FILE, else kelvary/registry.reg in the XDG configuration
// directory ($XDG_CONFIG_HOME, by default ~/.config).
#include <string>

namespace kelvary {

// The environment's say, each empty when not set.
struct RegistryFileEnvironment {
  std::string registry_file;    // KELVARY_REGISTRY_FILE
  std::string xdg_config_home;  // XDG_CONFIG_HOME
  std::string home;             // the user's home directory
};

std::string RegistryFilePath(const RegistryFileEnvironment& environment);

}  // namespace kelvary
