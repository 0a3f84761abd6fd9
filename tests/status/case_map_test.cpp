#include <gtest/gtest.h>

#include "base/case_map.h"

namespace kelvary {
namespace {

struct CaseCase {
  const char* name;
  std::string mixed;
  std::string upper;
  std::string lower;
  const CaseMap* map = &CaseMap::Windows1252();
};

TEST(CaseMap, MapsLettersAndLeavesTheRest) {
  const CaseCase cases[] = {
      CaseCase{"Ascii", "Local/Sample/Basic/Admin", "LOCAL/SAMPLE/BASIC/ADMIN", "local/sample/basic/admin"},
      CaseCase{"DigitsAndPunctuation", "[12:05] {x}", "[12:05] {X}", "[12:05] {x}"},
      // eight bytes at a time: the neighbours of both alphabets, then a word with an accent
      CaseCase{"WordsOfEightBytes", "@AZ[`az{Local/\xE4rger", "@AZ[`AZ{LOCAL/\xC4RGER", "@az[`az{local/\xE4rger"},
      // a-umlaut, o-umlaut, e-acute, thorn
      CaseCase{"AccentedPairs", "\xE4\xD6\xE9\xFE", "\xC4\xD6\xC9\xDE", "\xE4\xF6\xE9\xFE"},
      // S caron, OE ligature, Z caron, Y diaeresis
      CaseCase{"PairsOutsideTheBlock", "\x9A\x8C\x9E\xFF", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
      // sharp s, micro sign, multiplication and division signs have no pair
      CaseCase{"LettersWithoutPairStay", "\xDF\xB5\xD7\xF7", "\xDF\xB5\xD7\xF7", "\xDF\xB5\xD7\xF7"},
      CaseCase{"NulAndControlBytesStay", std::string("a\0\x1A", 3), std::string("A\0\x1A", 3),
               std::string("a\0\x1A", 3)},
      // UTF-8: eng and s acute are different letters, not one in two cases
      CaseCase{"Utf8LatinLetters", "\u014b\u015b\u00e9\u00ff", "\u014a\u015a\u00c9\u0178",
               "\u014b\u015b\u00e9\u00ff", &CaseMap::Utf8()},
      // the Cyrillic alphabet's first and last letters, a Greek pair
      CaseCase{"Utf8GreekAndCyrillic", "\u0410\u0431 \u042f\u044f \u03b1\u03a9", "\u0410\u0411 \u042f\u042f \u0391\u03a9",
               "\u0430\u0431 \u044f\u044f \u03b1\u03c9", &CaseMap::Utf8()},
      CaseCase{"Utf8OtherCharactersStay", "x\u00df\u4e2d\U0001F600", "X\u00df\u4e2d\U0001F600",
               "x\u00df\u4e2d\U0001F600", &CaseMap::Utf8()},
      // the first character of each sequence length, beside a letter that changes
      CaseCase{"Utf8ShortestSequencesOfEachLength", "\u00e9\u0080\u0800\U00010000",
               "\u00c9\u0080\u0800\U00010000", "\u00e9\u0080\u0800\U00010000", &CaseMap::Utf8()},
      // not UTF-8 (a code page's e acute): only ASCII letters change
      CaseCase{"TextThatIsNotUtf8ChangesAsciiOnly", "\xE9t\xE9", "\xE9T\xE9", "\xE9t\xE9", &CaseMap::Utf8()}};
  for (const CaseCase& c : cases) {
    EXPECT_EQ(c.map->Upper(c.mixed), c.upper) << c.name;
    EXPECT_EQ(c.map->Lower(c.mixed), c.lower) << c.name;
  }
}

}  // namespace
}  // namespace kelvary
