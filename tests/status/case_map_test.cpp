#include <gtest/gtest.h>

#include "base/case_map.h"

namespace kelvary {
namespace {

struct CaseCase {
  const char* name;
  std::string mixed;
  std::string upper;
  std::string lower;
};

class Windows1252Case : public ::testing::TestWithParam<CaseCase> {};

TEST_P(Windows1252Case, MapsLettersAndLeavesTheRest) {
  const CaseMap& map = CaseMap::Windows1252();
  EXPECT_EQ(map.Upper(GetParam().mixed), GetParam().upper);
  EXPECT_EQ(map.Lower(GetParam().mixed), GetParam().lower);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Windows1252Case,
    ::testing::Values(
        CaseCase{"Ascii", "Local/Sample/Basic/Admin", "LOCAL/SAMPLE/BASIC/ADMIN", "local/sample/basic/admin"},
        CaseCase{"DigitsAndPunctuation", "[12:05] {x}", "[12:05] {X}", "[12:05] {x}"},
        // a-umlaut, o-umlaut, e-acute, thorn
        CaseCase{"AccentedPairs", "\xE4\xD6\xE9\xFE", "\xC4\xD6\xC9\xDE", "\xE4\xF6\xE9\xFE"},
        // S caron, OE ligature, Z caron, Y diaeresis
        CaseCase{"PairsOutsideTheBlock", "\x9A\x8C\x9E\xFF", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
        // sharp s, micro sign, multiplication and division signs have no pair
        CaseCase{"LettersWithoutPairStay", "\xDF\xB5\xD7\xF7", "\xDF\xB5\xD7\xF7", "\xDF\xB5\xD7\xF7"},
        CaseCase{"NulAndControlBytesStay", std::string("a\0\x1A", 3), std::string("A\0\x1A", 3),
                 std::string("a\0\x1A", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvary
