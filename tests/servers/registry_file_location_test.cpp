#include "servers/registry_file_location.h"

#include <gtest/gtest.h>

namespace kelvary {
namespace {

struct LocationCase {
  const char* behaviour;
  RegistryFileEnvironment environment;
  std::string path;
};

TEST(RegistryFileLocation, NamedFileThenXdgConfigHomeThenHome) {
  const LocationCase cases[] = {
      {"named file first", {"/srv/s.reg", "/x/config", "/home/ann"}, "/srv/s.reg"},
      {"XDG_CONFIG_HOME", {"", "/x/config", "/home/ann"}, "/x/config/kelvary/registry.reg"},
      {"home's .config by default", {"", "", "/home/ann"}, "/home/ann/.config/kelvary/registry.reg"},
      {"relative XDG_CONFIG_HOME ignored", {"", "config", "/home/ann"}, "/home/ann/.config/kelvary/registry.reg"}};
  for (const LocationCase& c : cases) EXPECT_EQ(RegistryFilePath(c.environment), c.path) << c.behaviour;
}

}  // namespace
}  // namespace kelvary
