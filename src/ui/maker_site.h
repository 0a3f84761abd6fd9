#pragma once
// The maker's web site: the online help page now, the version file of the
// update check as well.
#include <string>
#include <string_view>

namespace kelvary {

inline constexpr std::string_view kMakerHost = "www.brennic.com";
inline constexpr std::string_view kOnlineHelpPath = "/Kelvary";
// Named in full so that the shell cannot take the address for a file or
// folder of the current directory that happens to share the host's name.
inline constexpr std::string_view kOnlineHelpScheme = "https://";

inline std::string OnlineHelpAddress() {
  std::string address(kOnlineHelpScheme);
  address += kMakerHost;
  address += kOnlineHelpPath;
  return address;
}

}  // namespace kelvary
