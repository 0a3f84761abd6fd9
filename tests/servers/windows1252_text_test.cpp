#include "servers/windows1252_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvary {
namespace {

std::string Units(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

struct TextCase {
  const char* behaviour;
  std::u16string utf16;
  std::string ansi;
};

class Utf16ToWindows1252 : public ::testing::TestWithParam<TextCase> {};

TEST_P(Utf16ToWindows1252, Converts) {
  EXPECT_EQ(Utf16LeToWindows1252(Units(GetParam().utf16)), GetParam().ansi);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf16ToWindows1252,
    ::testing::Values(TextCase{"Ascii", u"d:\\essbase", "d:\\essbase"},
                      TextCase{"Latin1Letters", u"caf\u00e9 \u00c9\u00ff", "caf\xE9 \xC9\xFF"},
                      TextCase{"EuroAndQuotesOfThe80Row", u"\u20ac\u201c\u2122\u0178", "\x80\x93\x99\x9F"},
                      TextCase{"C1CodesWindowsLeavesAlone", u"\u0081\u008d\u009d", "\x81\x8D\x9D"},
                      TextCase{"C1CodesItRedefinesAreMissing", u"\u0080\u0093", "??"},
                      TextCase{"OutsideTheCodePage", u"\u4e2d\u0416", "??"},
                      TextCase{"SurrogatePairIsOneCharacter", u"a\U0001F600b", "a?b"},
                      TextCase{"LoneSurrogate", u"\xd800x", "?x"}),
    [](const auto& info) { return std::string(info.param.behaviour); });

TEST(Utf16ToWindows1252, DropsAnOddLastByte) { EXPECT_EQ(Utf16LeToWindows1252(std::string("a\0b", 3)), "a"); }

}  // namespace
}  // namespace kelvary
