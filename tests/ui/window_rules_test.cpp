// The main, about and Help menu's rules that need no window: DPI scaling,
// command lines, the clipboard's and about's texts, Show Estimates, the update check.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "servers/registry_store.h"
#include "support/memory_registry.h"
#include "ui/command_line.h"
#include "ui/estimates_choice.h"
#include "ui/info_texts.h"
#include "ui/report_copy.h"
#include "ui/version_record.h"
#include "win32/dpi.h"
#include "ui/update_check.h"

namespace kelvary {
namespace {

// 125 %: 615 x 120 / 1440 = 51.25; 150 %: 615 -> 61.5 rounds up; left of the
// client area (a window moved off screen) too.
TEST(DpiTest, TwipsAndPointsBecomePixelsAtEachDpiWithHalvesRoundedUp) {
  const int twips_cases[][3] = {{120, 96, 8},   {5265, 96, 351}, {615, 120, 51}, {285, 120, 24}, {615, 144, 62},
                                {255, 144, 26}, {195, 144, 20},  {5265, 192, 702}, {0, 144, 0}, {-615, 144, -62}};
  for (const auto& [twips, dpi, pixels] : twips_cases) EXPECT_EQ(TwipsToPixels(twips, dpi), pixels) << twips << "@" << dpi;
  EXPECT_EQ(TwipsRectToPixels({840, 120, 3135, 315}, 96), (PixelRect{56, 8, 209, 21}));
  EXPECT_EQ(TwipsRectToPixels({120, 1320, 4335, 195}, 120), (PixelRect{10, 110, 361, 16}));
  EXPECT_EQ(ScaleForDpi(160, kBaseDpi), 160);
  EXPECT_EQ(ScaleForDpi(13, 120), 16);  // 16.25
  EXPECT_EQ(ScaleForDpi(3, 144), 5);    // 4.5
  const int font_cases[][3] = {{kDialogFont.size_twips, 96, -11}, {kDialogFont.size_twips, 120, -13},
                               {kDialogFont.size_twips, 192, -21}, {195, 96, -13}, {195, 144, -20}};
  for (const auto& [twips, dpi, height] : font_cases) EXPECT_EQ(FontHeightForDpi(twips, dpi), height) << twips << "@" << dpi;
}

// Taken as one raw text: blanks inside and quotes stay; a quoted name runs
// to its closing quote, blanks or not.
TEST(CommandLineTest, ArgumentTailIsAfterTheProgramAndTheNewInstanceHandsTheApplicationOn) {
  const std::pair<const char*, const char*> cases[] = {
      {"Kelvary.exe", ""}, {"Kelvary.exe ", ""}, {"C:\\Tools\\Kelvary.exe   sample  ", "sample  "},
      {"\"C:\\Program Files\\Kelvary\\Kelvary.exe\" my app", "my app"}, {"Kelvary.exe \"my app\"", "\"my app\""},
      {"Kelvary.exe\tSAMPLE", "SAMPLE"}, {"\"C:\\Kelvary.exe\"SAMPLE", "SAMPLE"},
      {"\"C:\\Program Files\\Kelvary.exe", ""}, {"", ""}};
  for (const auto& [command_line, tail] : cases) EXPECT_EQ(ArgumentTail(command_line), tail) << command_line;

  // The second instance finds the text as typed as its argument, less the
  // blanks before it, which the command line cannot carry.
  EXPECT_EQ(NewInstanceCommandLine("C:\\Program Files\\Kelvary", "sample"),
            "\"C:\\Program Files\\Kelvary\\Kelvary.exe\" sample");
  EXPECT_EQ(NewInstanceCommandLine("C:\\", "SAMPLE"), "\"C:\\\\Kelvary.exe\" SAMPLE");
  const std::pair<const char*, const char*> typed_and_received[] = {
      {"my app", "my app"}, {"  lead", "lead"}, {"\"quoted\"", "\"quoted\""}};
  for (const auto& [typed, received] : typed_and_received) {
    EXPECT_EQ(ArgumentTail(NewInstanceCommandLine("C:\\Program Files\\Kelvary", typed)), received) << typed;
  }
}

TEST(ReportClipboardTextTest, IsCrLfThenEachLineAndCrLf) {
  EXPECT_EQ(ReportClipboardText({}), "\r\n");
  EXPECT_EQ(ReportClipboardText({"a", "  >> 1/10:  13:44", ""}), "\r\na\r\n  >> 1/10:  13:44\r\n\r\n");
}

// The version text leaves out the third number, with no leading zeros.
TEST(InfoTextsTest, AboutNamesTheProductItsVersionMakerLicenceAndWhatItDoes) {
  EXPECT_EQ(OwnVersionText({65535, 65535, 9, 65535, "Kelvary"}), "65535.65535.65535");
  EXPECT_EQ(OwnVersionText({2, 7, 3, 10, "Kelvary"}), "2.7.10");
  EXPECT_EQ(AboutText({3, 1, 4, 15, "Other"}),
            "Other\r\nVersion 3.1.15\r\nMade by Brennic\r\nCopyright (c) 2026 Brennic\r\n"
            "Released under the MIT licence.\r\n\r\nShows which calculations are running in an Essbase "
            "application, how far each has got, when it started and who started it.");
}

// Show Estimates, kept in the store's product key: off in a store an older
// copy wrote, and off again once unticked.
TEST(EstimatesChoiceTest, IsOffUnlessTickedAndStored) {
  SetStoreKeyPaths();
  MemoryRegistry store;
  EXPECT_FALSE(ReadShowEstimates(store));
  WriteShowEstimates(store, true);
  EXPECT_EQ(RegReadText(store, RegRoot::CurrentUser, "Software\\Brennic\\Kelvary", "ShowEstimates"), "1");
  EXPECT_TRUE(ReadShowEstimates(store));
  WriteShowEstimates(store, false);
  EXPECT_FALSE(ReadShowEstimates(store));
}

constexpr const char* kOwnVersion = "1.65.167";

FetchedVersionFile Received(const std::string& body) {
  FetchedVersionFile fetched;
  fetched.received = true;
  fetched.body.Append(body);
  return fetched;
}

const std::string kLimitLong(kVersionFileLimit, '7');

// The body, the own version text, and whether the version is current. What
// was kept of a body past the limit would match an own text as long as the
// limit; the cut makes it different.
const std::tuple<std::string, std::string, bool> kComparisons[] = {
    {"1.65.167", kOwnVersion, true},        {"1.65.167\r\n", kOwnVersion, false},
    {" 1.65.167", kOwnVersion, false},      {"1.64.150", kOwnVersion, false},
    {"", kOwnVersion, false},               {std::string("1.65.167\0", 9), kOwnVersion, false},
    {"v2", "V2", false},                    {kLimitLong, kLimitLong, true},
    {kLimitLong + "7", kLimitLong, false},
};

// The version file is the maker's, over http, unless replaced whole; only
// its exact text is current, and a failed fetch is unreadable whatever it held.
TEST(UpdateCheckRules, AsksForTheMakersFileAndOnlyTheExactTextIsCurrent) {
  EXPECT_EQ(VersionFileUrl(""), "http://www.brennic.com/kelvary/version.txt");
  EXPECT_EQ(VersionFileUrl("http://127.0.0.1:8123/v.txt"), "http://127.0.0.1:8123/v.txt");
  for (const auto& [body, own, current] : kComparisons) {
    EXPECT_EQ(CompareWithOwnVersion(Received(body), own), current ? UpdateOutcome::Current : UpdateOutcome::Different)
        << body;
  }
  FetchedVersionFile failed = Received(kOwnVersion);
  failed.received = false;
  EXPECT_EQ(CompareWithOwnVersion(failed, kOwnVersion), UpdateOutcome::Unreadable);
}

// Chunks join up to the limit; the one that crosses it is cut and says stop.
TEST(LimitedBodyTest, KeepsABodyOfExactlyTheLimitAndCutsOneByteMore) {
  LimitedBody body;
  EXPECT_TRUE(body.Append("1"));
  EXPECT_TRUE(body.Append(""));
  EXPECT_TRUE(body.Append(std::string(kVersionFileLimit - 2, 'a')));
  EXPECT_TRUE(body.Append("b"));
  EXPECT_FALSE(body.Cut());
  EXPECT_FALSE(body.Append("c"));
  EXPECT_TRUE(body.Cut());
  EXPECT_EQ(body.Text(), "1" + std::string(kVersionFileLimit - 2, 'a') + "b");
}

}  // namespace
}  // namespace kelvary
