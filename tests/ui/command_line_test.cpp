// The argument text Kelvary starts with, and the command line of the second
// instance it starts.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ui/command_line.h"

namespace kelvary {
namespace {

struct TailCase {
  const char* command_line;
  const char* tail;
};

class ArgumentTailTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(ArgumentTailTest, IsEverythingAfterTheProgramAndItsBlanks) {
  EXPECT_EQ(ArgumentTail(GetParam().command_line), GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ArgumentTailTest,
    ::testing::Values(
        TailCase{"Kelvary.exe", ""}, TailCase{"Kelvary.exe ", ""},
        TailCase{"Kelvary.exe SAMPLE", "SAMPLE"},
        TailCase{"C:\\Tools\\Kelvary.exe   sample  ", "sample  "},
        TailCase{"\"C:\\Program Files\\Kelvary\\Kelvary.exe\" SAMPLE", "SAMPLE"},
        // Taken as one raw text: blanks inside and quotes stay.
        TailCase{"\"C:\\Program Files\\Kelvary\\Kelvary.exe\" my app", "my app"},
        TailCase{"Kelvary.exe \"my app\"", "\"my app\""},
        TailCase{"Kelvary.exe\tSAMPLE", "SAMPLE"},
        // A quoted name runs to its closing quote, blanks or not.
        TailCase{"\"C:\\Kelvary.exe\"SAMPLE", "SAMPLE"},
        TailCase{"\"C:\\Program Files\\Kelvary.exe", ""}, TailCase{"", ""}));

TEST(NewInstanceCommandLineTest, QuotesTheProgramPathAndKeepsTheApplicationAsTyped) {
  EXPECT_EQ(NewInstanceCommandLine("C:\\Program Files\\Kelvary", "sample"),
            "\"C:\\Program Files\\Kelvary\\Kelvary.exe\" sample");
  EXPECT_EQ(NewInstanceCommandLine("C:\\Tools", " two words "), "\"C:\\Tools\\Kelvary.exe\"  two words ");
  EXPECT_EQ(NewInstanceCommandLine("C:\\Tools", ""), "\"C:\\Tools\\Kelvary.exe\" ");
  EXPECT_EQ(NewInstanceCommandLine("C:\\", "SAMPLE"), "\"C:\\\\Kelvary.exe\" SAMPLE");  // a root's own separator kept
}

// What the second instance finds as its argument: the text as typed, less
// the blanks before it, which the command line cannot carry.
TEST(NewInstanceCommandLineTest, HandsTheApplicationBackAsTheNewInstancesArgument) {
  const std::pair<const char*, const char*> cases[] = {
      {"SAMPLE", "SAMPLE"}, {"my app", "my app"}, {"  lead", "lead"}, {"\"quoted\"", "\"quoted\""}};
  for (const auto& [typed, received] : cases) {
    EXPECT_EQ(ArgumentTail(NewInstanceCommandLine("C:\\Program Files\\Kelvary", typed)), received)
        << typed;
  }
}

}  // namespace
}  // namespace kelvary
