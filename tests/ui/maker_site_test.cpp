// The online help page's address, as the shell is given it.
#include <gtest/gtest.h>

#include "ui/maker_site.h"

namespace kelvary {
namespace {

TEST(OnlineHelpAddressTest, IsTheMakersHostAndKelvaryWithItsScheme) {
  EXPECT_EQ(OnlineHelpAddress(), "https://www.brennic.com/Kelvary");
}

}  // namespace
}  // namespace kelvary
