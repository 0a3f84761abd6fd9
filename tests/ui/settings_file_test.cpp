// The settings file's rules: every shape a file may hold reads as the
// program has always read it, every write leaves one line, and start-up
// never fails or loops whatever the disk says.
#include "ui/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
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

const ReadCase kReads[] = {
    {"created at start-up", " , \r\n", "", ""},
    {"shut down without an application", "Finance, \r\n", "Finance", ""},
    {"old two-line check record", "Finance;\r\nSAMPLE\r\n", "Finance;", "SAMPLE"},
    {"empty", "", "", ""},
    {"comma in the server name", "a,b,SAMPLE\r\n", "a", "b"},
    {"blanks before fields dropped", "  Finance,   SAMPLE\r\n", "Finance", "SAMPLE"},
    {"no line end", "Finance,SAMPLE", "Finance", "SAMPLE"},
    {"server only", "Finance\r\n", "Finance", ""},
    {"empty first line", "\r\nFinance,SAMPLE\r\n", "", "Finance"},
    {"Unix line ends", "Finance;\nSAMPLE\n", "Finance;", "SAMPLE"},
    {"lone carriage returns", "Finance;\rSAMPLE\r", "Finance;", "SAMPLE"},
    {"trailing blanks kept", "Finance ,SAMPLE \r\n", "Finance ", "SAMPLE "},
    {"a tab is not a blank", "\tFinance,SAMPLE\r\n", "\tFinance", "SAMPLE"},
    {"later lines ignored", "Finance,SAMPLE\r\nOther,APP\r\n", "Finance", "SAMPLE"},
    {"only blanks after the comma", "Finance,   ", "Finance", ""},
    {"empty second line", "Finance\n\nSAMPLE\n", "Finance", ""},
};

TEST(ReadRememberedQueryTest, ReadsTwoFieldsFromEveryShape) {
  for (const ReadCase& c : kReads) {
    const RememberedQuery query = ReadRememberedQuery(c.content);
    EXPECT_EQ(query.strLastServer, c.server) << c.name;
    EXPECT_EQ(query.strLastApp, c.application) << c.name;
  }
}

const std::string kPath = "C:\\Tools\\Kelvary.ini";
const std::string kFallback = "C:\\Windows\\Kelvary.ini";
const std::string kReadPath = "read:" + kPath;
const std::string kReadFallback = "read:" + kFallback;

// UTF-16 of single-byte `text`, a byte-order mark first.
std::string Utf16(std::string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) {
    const char units[2] = {c, '\0'};
    bytes.push_back(units[big_endian ? 1 : 0]);
    bytes.push_back(units[big_endian ? 0 : 1]);
  }
  return bytes;
}

// A file saved by an editor with a byte-order mark keeps its meaning.
TEST(SettingsFileTest, EditorEncodingsAreReadAsText) {
  using namespace std::string_literals;
  const std::string kUtf16Line = "Z\xFCrich,SAMPLE\r\n";
  const ReadCase cases[] = {
      {"UTF-8 with a mark", "\xEF\xBB\xBF" "Finance,SAMPLE\r\n", "Finance", "SAMPLE"},
      {"UTF-8 beyond ASCII", "\xEF\xBB\xBF" "Z\xC3\xBCrich,\xC3\x89T\xC3\x89", "Z\xFCrich", "\xC9T\xC9"},
      {"UTF-8 outside the code page", "\xEF\xBB\xBF\xD0\x96,A", "?", "A"},
      {"malformed UTF-8", "\xEF\xBB\xBF" "a\xC3,b\x80", "a?", "b?"},
      {"UTF-16 little-endian", Utf16(kUtf16Line, false), "Z\xFCrich", "SAMPLE"},
      {"UTF-16 big-endian", Utf16(kUtf16Line, true), "Z\xFCrich", "SAMPLE"},
      {"UTF-16 big-endian without a line end", Utf16("Z\xFCrich,SAMPLE", true), "Z\xFCrich", "SAMPLE"},
      {"UTF-16 control character", "\xFF\xFE\x85\0,\0A\0"s, "?", "A"},
      {"overlong UTF-8", "\xEF\xBB\xBF\xC0\xAF,A", "??", "A"},
      {"UTF-16 outside the code page", "\xFF\xFE\x16\x04,\0A\0"s, "?", "A"},
      {"code page bytes stay", "\xEF\xBB" "Finance,A", "\xEF\xBB" "Finance", "A"},
  };
  for (const ReadCase& c : cases) {
    MemorySettingsAccess disk;
    disk.files[kPath] = c.content;
    const RememberedQuery query = SettingsFile(disk, kPath).ReadAtStartUp();
    EXPECT_EQ(query.strLastServer, c.server) << c.name;
    EXPECT_EQ(query.strLastApp, c.application) << c.name;
  }
}

TEST(SettingsLineTest, WritesOneLineThatReadsBack) {
  const char* const cases[][3] = {{"Finance", "SAMPLE", "Finance,SAMPLE\r\n"},
                                  {"Finance", "", "Finance, \r\n"},
                                  {"", "SAMPLE", ",SAMPLE\r\n"},
                                  {"", "", ", \r\n"}};
  for (const auto& [server, application, line] : cases) {
    EXPECT_EQ(SettingsLine(server, application), line);
    const RememberedQuery back = ReadRememberedQuery(line);
    EXPECT_EQ(back.strLastServer, server);
    EXPECT_EQ(back.strLastApp, application);
  }
}

// A disk as start-up finds it, and what start-up reads and does there.
struct StartUpCase {
  const char* name;
  std::map<std::string, std::string> files;
  std::set<std::string> missing_folders;
  std::set<std::string> unreadable;
  std::set<std::string> read_only;
  const char* server;
  const char* application;
  std::vector<std::string> journal;
  std::map<std::string, std::string> files_after;
};

const StartUpCase kStartUps[] = {
    {"existing file is read once", {{kPath, "Finance,SAMPLE\r\n"}}, {}, {}, {}, "Finance", "SAMPLE",
     {kReadPath}, {{kPath, "Finance,SAMPLE\r\n"}}},
    {"missing file is created with two empty fields, then read", {}, {}, {}, {}, "", "",
     {kReadPath, "create:" + kPath, kReadPath}, {{kPath, " , \r\n"}}},
    {"file that cannot be created gives empty values without retrying", {}, {}, {}, {kPath}, "", "",
     {kReadPath, "create:" + kPath, kReadPath}, {}},
    {"missing folder reads the fallback", {{kFallback, "Finance,SAMPLE\r\n"}}, {kPath}, {}, {},
     "Finance", "SAMPLE", {kReadPath, kReadFallback}, {{kFallback, "Finance,SAMPLE\r\n"}}},
    {"missing file at the fallback is created there", {}, {kPath}, {}, {}, "", "",
     {kReadPath, kReadFallback, "create:" + kFallback, kReadFallback}, {{kFallback, " , \r\n"}}},
    {"missing fallback folder ends with empty values", {}, {kPath, kFallback}, {}, {}, "", "",
     {kReadPath, kReadFallback}, {}},
    {"other open failure gives empty values and creates nothing", {}, {}, {kPath}, {}, "", "",
     {kReadPath}, {}},
};

TEST(SettingsFileTest, StartUpReadNeverFailsOrLoops) {
  for (const StartUpCase& c : kStartUps) {
    MemorySettingsAccess disk;
    disk.files = c.files;
    disk.missing_folders = c.missing_folders;
    disk.unreadable = c.unreadable;
    disk.read_only = c.read_only;
    SettingsFile settings(disk, kPath);
    const RememberedQuery query = settings.ReadAtStartUp();
    EXPECT_EQ(query.strLastServer, c.server) << c.name;
    EXPECT_EQ(query.strLastApp, c.application) << c.name;
    EXPECT_EQ(disk.journal, c.journal) << c.name;
    EXPECT_EQ(disk.files, c.files_after) << c.name;
  }
}

class SettingsFileWriteTest : public ::testing::Test {
 protected:
  MemorySettingsAccess disk_;
  SettingsFile settings_{disk_, kPath};
};

// A write replaces the whole content with one line; a failed one is ignored.
TEST_F(SettingsFileWriteTest, FallbackChosenAtStartUpTakesEveryWrite) {
  disk_.missing_folders.insert(kPath);
  settings_.ReadAtStartUp();
  settings_.WriteQuery("Sales", "PLAN");
  EXPECT_EQ(settings_.strIniPathAndFile(), kFallback);
  EXPECT_EQ(disk_.files, (std::map<std::string, std::string>{{kFallback, "Sales,PLAN\r\n"}}));
  disk_.files[kFallback] = "Finance;\r\nSAMPLE\r\n";
  settings_.WriteQuery("Sales", "");
  EXPECT_EQ(disk_.files.at(kFallback), "Sales, \r\n");
  disk_.read_only.insert(kFallback);
  settings_.WriteQuery("Other", "PLAN");
  EXPECT_EQ(disk_.files.at(kFallback), "Sales, \r\n");
}

// Installed where the user cannot write, the choice goes to the user's own
// folder and comes back from there; a file beside the program that can be
// written keeps being the one used.
const std::string kUserFolder = "C:\\Users\\ann\\AppData\\Local\\Kelvary";
const std::string kUserPath = kUserFolder + "\\Kelvary.ini";

struct PerUserCase {
  const char* name;
  std::map<std::string, std::string> files;
  std::map<std::string, std::uint64_t> written_at;
  std::set<std::string> missing_folders;
  std::set<std::string> unreadable;
  std::set<std::string> read_only;
  const char* server;  // read at start-up
  const char* application;
  std::map<std::string, std::string> files_after;  // once "Sales,PLAN" is written
};

const std::string kRemembered = "Finance,SAMPLE\r\n";
const std::string kOlder = "Old,APP\r\n";
const std::string kWritten = "Sales,PLAN\r\n";

const PerUserCase kPerUserCases[] = {
    {"writable file beside the program is the only one used", {{kPath, kRemembered}}, {}, {kUserPath},
     {}, {}, "Finance", "SAMPLE", {{kPath, kWritten}}},
    {"read-only file: its choice is read, the write goes per-user", {{kPath, kRemembered}}, {},
     {kUserPath}, {}, {kPath}, "Finance", "SAMPLE", {{kPath, kRemembered}, {kUserPath, kWritten}}},
    {"read-only folder without a file: the per-user copy is read", {{kUserPath, kOlder}}, {}, {}, {},
     {kPath}, "Old", "APP", {{kUserPath, kWritten}}},
    {"per-user copy newer than the file beside the program wins",
     {{kPath, kRemembered}, {kUserPath, kOlder}}, {{kPath, 1}, {kUserPath, 2}}, {}, {}, {kPath}, "Old",
     "APP", {{kPath, kRemembered}, {kUserPath, kWritten}}},
    {"a tie goes to the file beside the program", {{kPath, kRemembered}, {kUserPath, kOlder}},
     {{kPath, 2}, {kUserPath, 2}}, {}, {}, {}, "Finance", "SAMPLE", {{kPath, kWritten}, {kUserPath, kOlder}}},
    {"file beside the program written since the per-user copy wins",
     {{kPath, kRemembered}, {kUserPath, kOlder}}, {{kPath, 3}, {kUserPath, 2}}, {}, {}, {}, "Finance",
     "SAMPLE", {{kPath, kWritten}, {kUserPath, kOlder}}},
    {"file just created beside the program loses to a per-user copy", {{kUserPath, kOlder}}, {}, {},
     {}, {}, "Old", "APP", {{kPath, kWritten}, {kUserPath, kOlder}}},
    {"locked file: the per-user copy is read and written", {{kPath, kRemembered}, {kUserPath, kOlder}},
     {}, {}, {kPath}, {kPath}, "Old", "APP", {{kPath, kRemembered}, {kUserPath, kWritten}}},
    {"read-only fallback: the per-user copy takes the write", {{kFallback, kRemembered}}, {},
     {kPath, kUserPath}, {}, {kFallback}, "Finance", "SAMPLE",
     {{kFallback, kRemembered}, {kUserPath, kWritten}}},
};

TEST(SettingsFileTest, PerUserCopyTakesWhatTheProgramsFolderCannotAndGivesItBack) {
  for (const PerUserCase& c : kPerUserCases) {
    MemorySettingsAccess disk;
    disk.files = c.files;
    disk.written_at = c.written_at;
    disk.missing_folders = c.missing_folders;
    disk.unreadable = c.unreadable;
    disk.read_only = c.read_only;
    SettingsFile first(disk, kPath, kUserFolder);
    const RememberedQuery query = first.ReadAtStartUp();
    EXPECT_EQ(query.strLastServer, c.server) << c.name;
    EXPECT_EQ(query.strLastApp, c.application) << c.name;
    first.WriteQuery("Sales", "PLAN");
    EXPECT_EQ(disk.files, c.files_after) << c.name;

    const RememberedQuery next = SettingsFile(disk, kPath, kUserFolder).ReadAtStartUp();
    EXPECT_EQ(next.strLastServer, "Sales") << c.name;
    EXPECT_EQ(next.strLastApp, "PLAN") << c.name;
  }
}

}  // namespace
}  // namespace kelvary::test
