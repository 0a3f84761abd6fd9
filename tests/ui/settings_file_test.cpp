// The settings file's rules: every shape a file may hold reads as the
// program has always read it, every write leaves one line, and start-up
// never fails or loops whatever the disk says.
#include "ui/settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "memory_settings_access.h"

namespace kelvary::test {
namespace {

const std::string kPath = "C:\\Tools\\Kelvary.ini";
const std::string kFallback = "C:\\Windows\\Kelvary.ini";
const std::string kReadPath = "read:" + kPath;
const std::string kReadFallback = "read:" + kFallback;

// UTF-16 of single-byte `text`, a byte-order mark first.
std::string Utf16(std::string_view text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : text) bytes += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  return bytes;
}

// Every shape the file has had (the old two-line record, a start-up's empty
// fields) and an editor may give it (a byte-order mark, UTF-16).
TEST(SettingsFileTest, EveryShapeAndEncodingReadsAsTwoFields) {
  using namespace std::string_literals;
  const std::string kUtf16Line = "Z\xFCrich,SAMPLE\r\n";
  const char* const cases[][3] = {
      {" , \r\n", "", ""}, {"Finance, \r\n", "Finance", ""}, {"Finance;\r\nSAMPLE\r\n", "Finance;", "SAMPLE"},
      {"", "", ""}, {"a,b,SAMPLE\r\n", "a", "b"}, {"  Finance,   SAMPLE\r\n", "Finance", "SAMPLE"},
      {"Finance,SAMPLE", "Finance", "SAMPLE"}, {"Finance\r\n", "Finance", ""},
      {"\r\nFinance,SAMPLE\r\n", "", "Finance"},
      {"Finance;\nSAMPLE\n", "Finance;", "SAMPLE"}, {"Finance;\rSAMPLE\r", "Finance;", "SAMPLE"},
      {"Finance ,SAMPLE \r\n", "Finance ", "SAMPLE "}, {"\tFinance,SAMPLE\r\n", "\tFinance", "SAMPLE"},
      {"Finance,SAMPLE\r\nOther,APP\r\n", "Finance", "SAMPLE"}, {"Finance,   ", "Finance", ""},
      {"Finance\n\nSAMPLE\n", "Finance", ""},
      {"\xEF\xBB\xBF" "Finance,SAMPLE\r\n", "Finance", "SAMPLE"},
      {"\xEF\xBB\xBF" "Z\xC3\xBCrich,\xC3\x89T\xC3\x89", "Z\xFCrich", "\xC9T\xC9"},
      {"\xEF\xBB\xBF\xD0\x96,A", "?", "A"},            // outside the code page
      {"\xEF\xBB\xBF" "a\xC3,b\x80", "a?", "b?"},       // malformed
      {"\xEF\xBB\xBF\xC0\xAF,A", "??", "A"},            // overlong
      {"\xEF\xBB" "Finance,A", "\xEF\xBB" "Finance", "A"}};  // code page bytes
  std::vector<std::tuple<std::string, std::string, std::string>> all;
  for (const auto& [content, server, application] : cases) all.emplace_back(content, server, application);
  all.emplace_back(Utf16(kUtf16Line, false), "Z\xFCrich", "SAMPLE");
  all.emplace_back(Utf16(kUtf16Line, true), "Z\xFCrich", "SAMPLE");
  all.emplace_back(Utf16("Z\xFCrich,SAMPLE", true), "Z\xFCrich", "SAMPLE");
  all.emplace_back("\xFF\xFE\x85\0,\0A\0"s, "?", "A");  // a control character
  all.emplace_back("\xFF\xFE\x16\x04,\0A\0"s, "?", "A");
  for (const auto& [content, server, application] : all) {
    MemorySettingsAccess disk;
    disk.files[kPath] = content;
    const RememberedQuery query = SettingsFile(disk, kPath).ReadAtStartUp();
    EXPECT_EQ(query.strLastServer, server) << content;
    EXPECT_EQ(query.strLastApp, application) << content;
  }
}

// A disk as start-up finds it, and what start-up reads and does there.
// Name, disk; the server and application read, the calls made, the files after.
using StartUpCase = std::tuple<const char*, SettingsDisk, const char*, const char*, std::vector<std::string>,
                               std::map<std::string, std::string>>;

const StartUpCase kStartUps[] = {
    {"existing file is read once", {{{kPath, "Finance,SAMPLE\r\n"}}}, "Finance", "SAMPLE", {kReadPath},
     {{kPath, "Finance,SAMPLE\r\n"}}},
    {"missing file is created with two empty fields, then read", {}, "", "",
     {kReadPath, "create:" + kPath, kReadPath}, {{kPath, " , \r\n"}}},
    {"file that cannot be created gives empty values without retrying", {.read_only = {kPath}}, "", "",
     {kReadPath, "create:" + kPath, kReadPath}, {}},
    {"missing folder reads the fallback", {{{kFallback, "Finance,SAMPLE\r\n"}}, {}, {kPath}}, "Finance", "SAMPLE",
     {kReadPath, kReadFallback}, {{kFallback, "Finance,SAMPLE\r\n"}}},
    {"missing file at the fallback is created there", {.missing_folders = {kPath}}, "", "",
     {kReadPath, kReadFallback, "create:" + kFallback, kReadFallback}, {{kFallback, " , \r\n"}}},
    {"missing fallback folder ends with empty values", {.missing_folders = {kPath, kFallback}}, "", "",
     {kReadPath, kReadFallback}, {}},
    {"other open failure gives empty values and creates nothing", {.unreadable = {kPath}}, "", "", {kReadPath}, {}},
};

TEST(SettingsFileTest, StartUpReadNeverFailsOrLoops) {
  for (const auto& [name, before, server, application, journal, files_after] : kStartUps) {
    MemorySettingsAccess disk(before);
    const RememberedQuery query = SettingsFile(disk, kPath).ReadAtStartUp();
    EXPECT_EQ(query.strLastServer, server) << name;
    EXPECT_EQ(query.strLastApp, application) << name;
    EXPECT_EQ(disk.journal, journal) << name;
    EXPECT_EQ(disk.files, files_after) << name;
  }
}

// A write replaces the whole content with one line; a failed one is ignored.
TEST(SettingsFileTest, FallbackChosenAtStartUpTakesEveryWrite) {
  MemorySettingsAccess disk({.missing_folders = {kPath}});
  SettingsFile settings(disk, kPath);
  settings.ReadAtStartUp();
  settings.WriteQuery("Sales", "PLAN");
  EXPECT_EQ(settings.strIniPathAndFile(), kFallback);
  EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{kFallback, "Sales,PLAN\r\n"}}));
  disk.files[kFallback] = "Finance;\r\nSAMPLE\r\n";
  settings.WriteQuery("Sales", "");
  EXPECT_EQ(disk.files.at(kFallback), "Sales, \r\n");
  disk.read_only.insert(kFallback);
  settings.WriteQuery("Other", "PLAN");
  EXPECT_EQ(disk.files.at(kFallback), "Sales, \r\n");
}

// Installed where the user cannot write, the choice goes to the user's own
// folder and comes back from there; a file beside the program that can be
// written keeps being the one used.
const std::string kUserFolder = "C:\\Users\\ann\\AppData\\Local\\Kelvary";
const std::string kUserPath = kUserFolder + "\\Kelvary.ini";

// Name, disk; the server and application read at start-up, the files once
// "Sales,PLAN" is written.
using PerUserCase = std::tuple<const char*, SettingsDisk, const char*, const char*, std::map<std::string, std::string>>;

const std::string kRemembered = "Finance,SAMPLE\r\n";
const std::string kOlder = "Old,APP\r\n";
const std::string kWritten = "Sales,PLAN\r\n";

const PerUserCase kPerUserCases[] = {
    {"writable file beside the program is the only one used",
     {.files = {{kPath, kRemembered}}, .missing_folders = {kUserPath}}, "Finance", "SAMPLE", {{kPath, kWritten}}},
    {"read-only file: its choice is read, the write goes per-user",
     {.files = {{kPath, kRemembered}}, .missing_folders = {kUserPath}, .read_only = {kPath}}, "Finance", "SAMPLE",
     {{kPath, kRemembered}, {kUserPath, kWritten}}},
    {"read-only folder without a file: the per-user copy is read",
     {.files = {{kUserPath, kOlder}}, .read_only = {kPath}}, "Old", "APP", {{kUserPath, kWritten}}},
    {"per-user copy newer than the file beside the program wins",
     {{{kPath, kRemembered}, {kUserPath, kOlder}}, {{kPath, 1}, {kUserPath, 2}}, {}, {}, {kPath}}, "Old", "APP",
     {{kPath, kRemembered}, {kUserPath, kWritten}}},
    {"a tie goes to the file beside the program",
     {{{kPath, kRemembered}, {kUserPath, kOlder}}, {{kPath, 2}, {kUserPath, 2}}}, "Finance", "SAMPLE",
     {{kPath, kWritten}, {kUserPath, kOlder}}},
    {"file beside the program written since the per-user copy wins",
     {{{kPath, kRemembered}, {kUserPath, kOlder}}, {{kPath, 3}, {kUserPath, 2}}}, "Finance", "SAMPLE",
     {{kPath, kWritten}, {kUserPath, kOlder}}},
    {"file just created beside the program loses to a per-user copy", {.files = {{kUserPath, kOlder}}}, "Old", "APP",
     {{kPath, kWritten}, {kUserPath, kOlder}}},
    {"locked file: the per-user copy is read and written",
     {.files = {{kPath, kRemembered}, {kUserPath, kOlder}}, .unreadable = {kPath}, .read_only = {kPath}}, "Old", "APP",
     {{kPath, kRemembered}, {kUserPath, kWritten}}},
    {"read-only fallback: the per-user copy takes the write",
     {.files = {{kFallback, kRemembered}}, .missing_folders = {kPath, kUserPath}, .read_only = {kFallback}}, "Finance",
     "SAMPLE", {{kFallback, kRemembered}, {kUserPath, kWritten}}},
};

TEST(SettingsFileTest, PerUserCopyTakesWhatTheProgramsFolderCannotAndGivesItBack) {
  for (const auto& [name, before, server, application, files_after] : kPerUserCases) {
    MemorySettingsAccess disk(before);
    SettingsFile first(disk, kPath, kUserFolder);
    const RememberedQuery query = first.ReadAtStartUp();
    EXPECT_EQ(query.strLastServer, server) << name;
    EXPECT_EQ(query.strLastApp, application) << name;
    first.WriteQuery("Sales", "PLAN");
    EXPECT_EQ(disk.files, files_after) << name;
    const RememberedQuery next = SettingsFile(disk, kPath, kUserFolder).ReadAtStartUp();
    EXPECT_EQ(next.strLastServer, "Sales") << name;
    EXPECT_EQ(next.strLastApp, "PLAN") << name;
  }
}

}  // namespace
}  // namespace kelvary::test
