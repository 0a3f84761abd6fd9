// The help window's guide byte for byte, the about text, and the version
// text both the about window and the update check use.
#include <gtest/gtest.h>

#include <string>

#include "ui/info_texts.h"
#include "ui/version_record.h"

namespace kelvary {
namespace {

const std::string kExpectedHelp =
    "Adding Server To Kelvary\r\n"
    "To add a server to Kelvary, first select the Server / Add A New Server menu option.  Then "
    "enter a the name of the server.  This will be the option displayed in the server drop down "
    "box in the main window, so make it something meaningful.  Enter the path to your Essbase "
    "directory (this includes the word Essbase - if it is d:\\essbase\\app..., then enter "
    "d:\\essbase).  Click the Add button.\r\n"
    "Checking the status of a calculation\r\n\r\n"
    "Select the server the application and database resides. Enter the application (not the "
    "database) in the application input box. Click the Check Calculation button. For this to "
    "recognize that a calculation is running, the calculation script that is executed in Essbase "
    "must have the SET NOTICE HIGH|DEFAULT|LOW; in the calculation script.\r\n"
    "Removing a server from Kelvary\r\n\r\n"
    "To remove a server from Kelvary, select the Servers / Remove An Existing Server menu option. "
    "Select the server you want to delete and click the delete button.";

// The exact text above holds these too; they are spelled out because a
// help text edited by hand breaks them first.
TEST(HelpTextTest, IsTheGuideByteForByteWithItsTitleBreaksAndNoTrailingLineBreak) {
  const std::string text = HelpText();
  EXPECT_EQ(text, kExpectedHelp);
  EXPECT_TRUE(text.starts_with("Adding Server To Kelvary\r\nTo add a server to Kelvary"));
  EXPECT_NE(text.find("Checking the status of a calculation\r\n\r\nSelect the server"), std::string::npos);
  EXPECT_NE(text.find("Removing a server from Kelvary\r\n\r\nTo remove a server"), std::string::npos);
  EXPECT_TRUE(text.ends_with("click the delete button."));
}

struct VersionCase {
  VersionRecord record;
  const char* text;
};

const VersionCase kVersions[] = {
    {{1, 65, 0, 167, "Kelvary"}, "1.65.167"},
    {{1, 65, 9, 167, "Kelvary"}, "1.65.167"},  // the third number is left out
    {{0, 0, 0, 0, "Kelvary"}, "0.0.0"},
    {{2, 7, 3, 10, "Kelvary"}, "2.7.10"},       // no leading zeros or blanks
    {{65535, 65535, 65535, 65535, "Kelvary"}, "65535.65535.65535"},
};

TEST(OwnVersionTextTest, JoinsTheFirstSecondAndFourthNumbers) {
  for (const VersionCase& c : kVersions) EXPECT_EQ(OwnVersionText(c.record), c.text);
}

TEST(BuiltVersionRecordTest, IsThisBuildsVersionAndProduct) {
  const VersionRecord built = BuiltVersionRecord();
  EXPECT_EQ(OwnVersionText(built), "1.65.167");
  EXPECT_EQ(built.patch, 0u);
  EXPECT_EQ(built.product_name, "Kelvary");
}

TEST(AboutTextTest, NamesTheProductItsVersionMakerLicenceAndWhatItDoes) {
  EXPECT_EQ(AboutText({1, 65, 0, 167, "Kelvary"}),
            "Kelvary\r\n"
            "Version 1.65.167\r\n"
            "Made by Brennic\r\n"
            "Copyright (c) 2026 Brennic\r\n"
            "Released under the MIT licence.\r\n\r\n"
            "Shows which calculations are running in an Essbase application, how far each has "
            "got, when it started and who started it.");
}

TEST(AboutTextTest, FollowsTheRecordItIsGiven) {
  EXPECT_EQ(AboutText({3, 1, 4, 15, "Other"}).rfind("Other\r\nVersion 3.1.15\r\n", 0), 0u);
}

}  // namespace
}  // namespace kelvary
