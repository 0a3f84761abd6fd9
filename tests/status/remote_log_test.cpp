// FetchRemoteLog through the real loader and the stand-in Essbase library.
#include "status/remote_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote_fixture.h"

namespace kelvary::test {
namespace {

std::string HexOf(const EssbaseInitRecord& record) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : record) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

// The record as the API reads it, written out field by field.
EssbaseInitRecord ExpectedInitRecord() {
  std::vector<unsigned char> bytes = {0x00, 0x51, 0x06, 0x00, 0x0A, 0x00};
  const std::string local_path = "C:\\ESSBASE";
  bytes.insert(bytes.end(), local_path.begin(), local_path.end());
  bytes.insert(bytes.end(), 110, ' ');
  bytes.insert(bytes.end(), 120, ' ');
  bytes.insert(bytes.end(), 120, 0x00);
  bytes.insert(bytes.end(), {0x01, 0x00, 0x64, 0x00, 0x00, 0x00});
  EssbaseInitRecord record{};
  EXPECT_EQ(bytes.size(), record.size());
  std::copy(bytes.begin(), bytes.end(), record.begin());
  return record;
}

TEST(InitRecord, IsTheApiLayoutByteForByte) {
  const EssbaseInitRecord record = BuildInitRecord();
  EXPECT_EQ(HexOf(record), HexOf(ExpectedInitRecord()));
}

struct RefusalCase {
  const char* name;
  std::int32_t status;
  const char* message;
};
// Test names say which case failed; gtest would print the bytes.
void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }


class LoginRefusedMessageTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(LoginRefusedMessageTest, NamesTheCause) {
  EXPECT_EQ(LoginRefusedMessage(GetParam().status), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, LoginRefusedMessageTest,
    ::testing::Values(
        RefusalCase{"UnknownServer", 1042003,
                    "The server you have entered does not exist.  The status of the calculation can not be checked."},
        RefusalCase{"WrongPassword", 1051005,
                    "The password you have entered is incorrect.  The status of the calculation can not be checked."},
        RefusalCase{"UnknownUser", 1051015,
                    "The user you have entered does not exist.  The status of the calculation can not be checked."},
        RefusalCase{"OtherStatus", 1051004, "Error:  1051004"},
        RefusalCase{"NegativeStatus", -12, "Error:  -12"},
        RefusalCase{"LowestStatus", INT32_MIN, "Error:  -2147483648"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocalCopyPathTest, JoinsDirectoryServerAndApplicationWithTheSeparator) {
  MemoryRegistry registry;
  const auto deps = [&](std::string directory, char separator) {
    return CheckDependencies{registry, CaseMap::Windows1252(), std::move(directory), separator, nullptr, nullptr};
  };
  EXPECT_EQ(LocalCopyPath(deps("C:\\Tools", '\\'), "Finance", "SAMPLE"), "C:\\Tools\\Finance_SAMPLE.log");
  // The root of a drive already ends in a separator; the doubled one stays.
  EXPECT_EQ(LocalCopyPath(deps("C:\\", '\\'), "Finance", "SAMPLE"), "C:\\\\Finance_SAMPLE.log");
  EXPECT_EQ(LocalCopyPath(deps("/opt/kelvary", '/'), "Finance", "SAMPLE"), "/opt/kelvary/Finance_SAMPLE.log");
}

using FetchRemoteLogTest = RemoteFixture;

TEST_F(FetchRemoteLogTest, LogsInDownloadsAndEndsInTheApiOrder) {
  fixtures_.Write("SAMPLE.log", "line one\r\nline two\r\n");
  AddRemoteServer("Finance");
  RecordingView view;

  const RemoteLogResult result = FetchRemoteLog(view, Deps(), "Finance", "SAMPLE");

  ASSERT_EQ(result.outcome, RemoteFetch::LogReady);
  EXPECT_EQ(result.local_path, Copy("Finance", "SAMPLE"));
  EXPECT_EQ(ReadFile(result.local_path), "line one\r\nline two\r\n");
  const std::string context = std::to_string(standin::kContext);
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         Call("EsbInit", {HexOf(ExpectedInitRecord())}),
                         LoginCall(),
                         Call("EsbGetLogFile", {context, "SAMPLE", "0", Copy("Finance", "SAMPLE")}),
                         Call("EsbLogout", {context}),
                         TermCall(),
                     }));
  EXPECT_TRUE(view.events.empty());
}

TEST_F(FetchRemoteLogTest, CopyIsNamedAfterTheStoredServerNotItsAddress) {
  fixtures_.Write("SAMPLE.log", "x\r\n");
  AddRemoteServer("East");
  AddRemoteServer("West");
  RecordingView view;

  EXPECT_EQ(FetchRemoteLog(view, Deps(), "East", "SAMPLE").local_path, Copy("East", "SAMPLE"));
  EXPECT_EQ(FetchRemoteLog(view, Deps(), "West", "SAMPLE").local_path, Copy("West", "SAMPLE"));
  EXPECT_EQ(ReadFile(Copy("East", "SAMPLE")), "x\r\n");
  EXPECT_EQ(ReadFile(Copy("West", "SAMPLE")), "x\r\n");
}

TEST_F(FetchRemoteLogTest, FailedDownloadStillReportsTheCopyPath) {
  AddRemoteServer("Finance");  // no fixture log: the download leaves nothing
  RecordingView view;

  const RemoteLogResult result = FetchRemoteLog(view, Deps(), "Finance", "NOLOG");

  EXPECT_EQ(result.outcome, RemoteFetch::LogReady);
  EXPECT_EQ(result.local_path, Copy("Finance", "NOLOG"));
  EXPECT_FALSE(std::filesystem::exists(result.local_path));
  EXPECT_EQ(Calls().size(), 5u);
}

struct RefusedLogin {
  const char* name;
  const char* dns;
  const char* user;
  const char* password;
  const char* message;
  bool known;  // chkCheck disabled and automatic re-checking switched off
};
// Test names say which case failed; gtest would print the bytes.
void PrintTo(const RefusedLogin& c, std::ostream* out) { *out << c.name; }


class RefusedLoginTest : public RemoteFixture, public ::testing::WithParamInterface<RefusedLogin> {};

TEST_P(RefusedLoginTest, ShowsTheBoxThenSetsTheControlsAndEndsTheInstance) {
  const RefusedLogin& refusal = GetParam();
  AddRemoteServer("Finance", refusal.dns, refusal.user, refusal.password);
  RecordingView view;

  const RemoteLogResult result = FetchRemoteLog(view, Deps(), "Finance", "SAMPLE");

  EXPECT_EQ(result.outcome, RemoteFetch::CheckEnded);
  std::vector<std::string> expected = {std::string("box:") + refusal.message};
  if (refusal.known) expected.insert(expected.end(), {"check:off", "timer:off"});
  expected.insert(expected.end(), {"clear", "ok:on", "exit:on"});
  EXPECT_EQ(view.events, expected);
  EXPECT_EQ(Calls(), (std::vector<std::string>{Call("EsbInit", {HexOf(ExpectedInitRecord())}),
                                               LoginCall(refusal.dns, refusal.user, refusal.password),
                                               TermCall()}));
  EXPECT_FALSE(std::filesystem::exists(Copy("Finance", "SAMPLE")));
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, RefusedLoginTest,
    ::testing::Values(
        RefusedLogin{"UnknownServer", "nowhere.example.com", standin::kUser, standin::kPassword,
                     "The server you have entered does not exist.  The status of the calculation can not be checked.",
                     true},
        RefusedLogin{"WrongPassword", standin::kServer, standin::kUser, "guess",
                     "The password you have entered is incorrect.  The status of the calculation can not be checked.",
                     true},
        RefusedLogin{"UnknownUser", standin::kServer, "mallory", standin::kPassword,
                     "The user you have entered does not exist.  The status of the calculation can not be checked.",
                     true},
        RefusedLogin{"EmptyUserAndPassword", standin::kServer, "", "",
                     "The user you have entered does not exist.  The status of the calculation can not be checked.",
                     true},
        RefusedLogin{"OtherStatus", standin::kRefusingServer, standin::kUser, standin::kPassword,
                     "Error:  1051004", false},
        RefusedLogin{"NegativeStatus", standin::kFailingServer, standin::kUser, standin::kPassword,
                     "Error:  -12", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FetchRemoteLogTest, WindowClosedDuringTheBoxLeavesTheControlsAlone) {
  AddRemoteServer("Finance", standin::kServer, standin::kUser, "guess");
  RecordingView view;
  view.box_answer = false;

  const RemoteLogResult result = FetchRemoteLog(view, Deps(), "Finance", "SAMPLE");

  EXPECT_EQ(result.outcome, RemoteFetch::Abandoned);
  ASSERT_EQ(view.events.size(), 1u);
  EXPECT_EQ(Calls().back(), TermCall());
}

TEST_F(FetchRemoteLogTest, LibraryThatCannotBeLoadedFailsBeforeAnyCall) {
  AddRemoteServer("Finance");
  RecordingView view;
  CheckDependencies deps = Deps();
  deps.load_essbase = [] { return LoadedEssbase{nullptr, "no library here"}; };

  const RemoteLogResult result = FetchRemoteLog(view, deps, "Finance", "SAMPLE");

  EXPECT_EQ(result.outcome, RemoteFetch::Failed);
  EXPECT_EQ(result.failure, "no library here");
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(view.events.empty());
}

#ifndef _WIN32
// The loader of platforms without esbapin.dll: the library is named, or none.
using PosixLoaderTest = RemoteFixture;

TEST_F(PosixLoaderTest, WithoutANamedLibraryNothingLoads) {
  UnsetEnvironment(kLibraryVariable);
  EXPECT_EQ(LoadEssbaseLibrary().library, nullptr);
  SetEnvironment(kLibraryVariable, "");
  EXPECT_EQ(LoadEssbaseLibrary().library, nullptr);
}

TEST_F(PosixLoaderTest, MissingFileDoesNotLoad) {
  SetEnvironment(kLibraryVariable, fixtures_.File("no-such-library.so"));
  const LoadedEssbase loaded = LoadEssbaseLibrary();
  EXPECT_EQ(loaded.library, nullptr);
  EXPECT_NE(loaded.error.find("no-such-library.so"), std::string::npos);
}

TEST_F(PosixLoaderTest, LibraryWithoutAnEntryPointDoesNotLoad) {
  SetEnvironment(kLibraryVariable, KELVARY_INCOMPLETE_LIBRARY);
  const LoadedEssbase loaded = LoadEssbaseLibrary();
  EXPECT_EQ(loaded.library, nullptr);
  EXPECT_EQ(loaded.error, "the Essbase library has no entry point EsbTerm");
}
#endif

}  // namespace
}  // namespace kelvary::test
