#include "servers/registry_file_location.h"

#include <gtest/gtest.h>

namespace kelvary {
namespace {

struct LocationCase {
  const char* behaviour;
  RegistryFileEnvironment environment;
  std::string path;
};

class RegistryFileLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(RegistryFileLocation, Is) { EXPECT_EQ(RegistryFilePath(GetParam().environment), GetParam().path); }

INSTANTIATE_TEST_SUITE_P(
    Environments, RegistryFileLocation,
    ::testing::Values(
        LocationCase{"NamedFileFirst", {"/tmp/s.reg", "/x/config", "/home/ann"}, "/tmp/s.reg"},
        LocationCase{"XdgConfigHome", {"", "/x/config", "/home/ann"}, "/x/config/kelvary/registry.reg"},
        LocationCase{"HomeConfigByDefault", {"", "", "/home/ann"}, "/home/ann/.config/kelvary/registry.reg"},
        LocationCase{"RelativeXdgConfigHomeIgnored", {"", "config", "/home/ann"},
                     "/home/ann/.config/kelvary/registry.reg"}),
    [](const auto& info) { return std::string(info.param.behaviour); });

}  // namespace
}  // namespace kelvary
