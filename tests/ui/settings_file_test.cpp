// The settings file's rules: every shape a file may hold reads as the
// program has always read it, every write leaves one line, and start-up
// never fails or loops whatever the disk says.
#include "ui/settings_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "memory_settings_access.h"

namespace kelvary::test {
namespace {

struct ReadCase {
  const char* name;
  std::string content;
  const char* server;
  const char* application;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class ReadRememberedQueryTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRememberedQueryTest, ReadsTwoFields) {
  const RememberedQuery query = ReadRememberedQuery(GetParam().content);
  EXPECT_EQ(query.strLastServer, GetParam().server);
  EXPECT_EQ(query.strLastApp, GetParam().application);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ReadRememberedQueryTest,
    ::testing::Values(
        ReadCase{"CreatedAtStartUp", " , \r\n", "", ""},
        ReadCase{"ShutDownWithApplication", "Finance,SAMPLE\r\n", "Finance", "SAMPLE"},
        ReadCase{"ShutDownWithoutApplication", "Finance, \r\n", "Finance", ""},
        ReadCase{"OldTwoLineCheckRecord", "Finance;\r\nSAMPLE\r\n", "Finance;", "SAMPLE"},
        ReadCase{"Empty", "", "", ""},
        ReadCase{"CommaInServerName", "a,b,SAMPLE\r\n", "a", "b"},
        ReadCase{"BlanksBeforeFieldsDropped", "  Finance,   SAMPLE\r\n", "Finance", "SAMPLE"},
        ReadCase{"BlankAfterCommaSameAsNone", "Finance, SAMPLE\r\n", "Finance", "SAMPLE"},
        ReadCase{"NoLineEnd", "Finance,SAMPLE", "Finance", "SAMPLE"},
        ReadCase{"ServerOnly", "Finance\r\n", "Finance", ""},
        ReadCase{"ServerOnlyWithoutLineEnd", "Finance", "Finance", ""},
        ReadCase{"OnlyAComma", ",", "", ""},
        ReadCase{"EmptyFirstLine", "\r\nFinance,SAMPLE\r\n", "", "Finance"},
        ReadCase{"UnixLineEnds", "Finance;\nSAMPLE\n", "Finance;", "SAMPLE"},
        ReadCase{"LoneCarriageReturns", "Finance;\rSAMPLE\r", "Finance;", "SAMPLE"},
        ReadCase{"TrailingBlanksKept", "Finance ,SAMPLE \r\n", "Finance ", "SAMPLE "},
        ReadCase{"TabIsNotABlank", "\tFinance,SAMPLE\r\n", "\tFinance", "SAMPLE"},
        ReadCase{"LaterLinesIgnored", "Finance,SAMPLE\r\nOther,APP\r\n", "Finance", "SAMPLE"},
        ReadCase{"BytesOfTheCodePage", "Z\xFCrich,\xC9T\xC9\r\n", "Z\xFCrich", "\xC9T\xC9"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
  const char* name;
  const char* server;
  const char* application;
  const char* line;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class SettingsLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SettingsLineTest, WritesOneLineThatReadsBack) {
  const LineCase& c = GetParam();
  const std::string line = SettingsLine(c.server, c.application);
  EXPECT_EQ(line, c.line);
  const RememberedQuery back = ReadRememberedQuery(line);
  EXPECT_EQ(back.strLastServer, c.server);
  EXPECT_EQ(back.strLastApp, c.application);
}

INSTANTIATE_TEST_SUITE_P(Shapes, SettingsLineTest,
                         ::testing::Values(LineCase{"ServerAndApplication", "Finance", "SAMPLE", "Finance,SAMPLE\r\n"},
                                           LineCase{"EmptyApplication", "Finance", "", "Finance, \r\n"},
                                           LineCase{"EmptyServer", "", "SAMPLE", ",SAMPLE\r\n"},
                                           LineCase{"BothEmpty", "", "", ", \r\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsPathInTest, JoinsWithABackslashKeepingARootsOwn) {
  EXPECT_EQ(SettingsPathIn("C:\\Tools"), "C:\\Tools\\Kelvary.ini");
  EXPECT_EQ(SettingsPathIn("C:\\"), "C:\\\\Kelvary.ini");
}

const std::string kPath = "C:\\Tools\\Kelvary.ini";
const std::string kFallback = "C:\\Windows\\Kelvary.ini";

class SettingsFileTest : public ::testing::Test {
 protected:
  MemorySettingsAccess disk_;
  SettingsFile settings_{disk_, kPath};
};

TEST_F(SettingsFileTest, ExistingFileIsReadOnce) {
  disk_.files[kPath] = "Finance,SAMPLE\r\n";

  const RememberedQuery query = settings_.ReadAtStartUp();

  EXPECT_EQ(query.strLastServer, "Finance");
  EXPECT_EQ(query.strLastApp, "SAMPLE");
  EXPECT_EQ(disk_.journal, std::vector<std::string>{"read:" + kPath});
}

TEST_F(SettingsFileTest, MissingFileIsCreatedWithTwoEmptyFieldsThenRead) {
  const RememberedQuery query = settings_.ReadAtStartUp();

  EXPECT_EQ(query.strLastServer, "");
  EXPECT_EQ(query.strLastApp, "");
  EXPECT_EQ(disk_.files.at(kPath), " , \r\n");
  EXPECT_EQ(disk_.journal, (std::vector<std::string>{"read:" + kPath, "create:" + kPath, "read:" + kPath}));
}

TEST_F(SettingsFileTest, FileThatCannotBeCreatedGivesEmptyValuesWithoutRetrying) {
  disk_.read_only.insert(kPath);

  const RememberedQuery query = settings_.ReadAtStartUp();

  EXPECT_EQ(query.strLastServer, "");
  EXPECT_EQ(disk_.journal, (std::vector<std::string>{"read:" + kPath, "create:" + kPath, "read:" + kPath}));
}

TEST_F(SettingsFileTest, MissingFolderSwitchesToTheFallbackForTheWholeRun) {
  disk_.missing_folders.insert(kPath);
  disk_.files[kFallback] = "Finance,SAMPLE\r\n";

  const RememberedQuery query = settings_.ReadAtStartUp();
  settings_.WriteQuery("Sales", "PLAN");

  EXPECT_EQ(query.strLastServer, "Finance");
  EXPECT_EQ(settings_.strIniPathAndFile(), kFallback);
  EXPECT_EQ(disk_.files.at(kFallback), "Sales,PLAN\r\n");
  EXPECT_EQ(disk_.files.count(kPath), 0u);
}

TEST_F(SettingsFileTest, MissingFileAtTheFallbackIsCreatedThere) {
  disk_.missing_folders.insert(kPath);

  settings_.ReadAtStartUp();

  EXPECT_EQ(disk_.files.at(kFallback), " , \r\n");
  EXPECT_EQ(disk_.journal, (std::vector<std::string>{"read:" + kPath, "read:" + kFallback,
                                                      "create:" + kFallback, "read:" + kFallback}));
}

TEST_F(SettingsFileTest, MissingFallbackFolderEndsWithEmptyValues) {
  disk_.missing_folders.insert(kPath);
  disk_.missing_folders.insert(kFallback);

  const RememberedQuery query = settings_.ReadAtStartUp();

  EXPECT_EQ(query.strLastServer, "");
  EXPECT_EQ(query.strLastApp, "");
  EXPECT_EQ(disk_.journal, (std::vector<std::string>{"read:" + kPath, "read:" + kFallback}));
}

TEST_F(SettingsFileTest, OtherOpenFailureGivesEmptyValuesAndCreatesNothing) {
  disk_.unreadable.insert(kPath);

  const RememberedQuery query = settings_.ReadAtStartUp();

  EXPECT_EQ(query.strLastServer, "");
  EXPECT_EQ(disk_.journal, std::vector<std::string>{"read:" + kPath});
  EXPECT_TRUE(disk_.files.empty());
}

TEST_F(SettingsFileTest, WriteReplacesTheWholeContentWithOneLine) {
  disk_.files[kPath] = "Finance;\r\nSAMPLE\r\n";

  settings_.WriteQuery("Sales", "");

  EXPECT_EQ(disk_.files.at(kPath), "Sales, \r\n");
}

TEST_F(SettingsFileTest, FailedWriteIsIgnored) {
  disk_.files[kPath] = "Finance,SAMPLE\r\n";
  disk_.read_only.insert(kPath);

  settings_.WriteQuery("Sales", "PLAN");

  EXPECT_EQ(disk_.files.at(kPath), "Finance,SAMPLE\r\n");
}

}  // namespace
}  // namespace kelvary::test
