// kelvary-cli servers, run as a user runs it, against a .reg store file of
// the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_run.h"

namespace kelvary::test {
namespace {

const std::string kRefusal =
    "A server name must not be empty, be longer than 255 characters or contain a backslash (\\), "
    "a slash (/) or two dots (..).\n";
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kServersSection = "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\";

class ServersCommandTest : public ::testing::Test {
 protected:
  CliRun Cli(const Arguments& arguments, const std::string& input = "") const {
    return RunProgram(dir_, KELVARY_CLI, {{"KELVARY_REGISTRY_FILE", Store()}}, arguments, input);
  }
  std::string Store() const { return dir_.File("config/kelvary/registry.reg"); }
  void WriteStore(const std::string& body) const { dir_.Write("config/kelvary/registry.reg", kHeader + body); }

  TempFolder dir_;
};

TEST_F(ServersCommandTest, ListsOneNameALineInWindowsOrderAndNothingForAnEmptyStore) {
  const CliRun empty = Cli({"servers", "list"});
  EXPECT_EQ(empty.exit_code, 0);
  EXPECT_EQ(empty.out, "");
  EXPECT_FALSE(std::filesystem::exists(Store()));

  WriteStore(kServersSection + "_lab]\r\n\r\n" + kServersSection + "Zeta]\r\n\r\n" + kServersSection +
             "alpha]\r\n\r\n");
  const CliRun list = Cli({"servers", "list"});
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_EQ(list.out, "alpha\nZeta\n_lab\n");
}

// Added again as the other kind, a server keeps its old values, as from the
// add dialog.
TEST_F(ServersCommandTest, AddStoresAServerAsTheAddDialogDoes) {
  const CliRun add = Cli({"servers", "add", "Prod East", "--path", "d:\\essbase\\\\"});
  EXPECT_EQ(add.exit_code, 0) << add.err;
  EXPECT_NE(FileContent(Store()).find(kServersSection + "Prod East]\r\n\"Path\"=\"d:\\\\essbase\\\\\"\r\n"
                                                     "\"Access\"=\"0\"\r\n"),
            std::string::npos);
  EXPECT_EQ(Cli({"servers", "show", "prod east"}).out, "Path=d:\\essbase\\\nAccess=0\n");

  const CliRun remote =
      Cli({"servers", "add", "prod EAST", "--dns", "ess01", "--user", "u", "--password-stdin"}, "p\n");
  EXPECT_EQ(remote.exit_code, 0) << remote.err;
  EXPECT_EQ(Cli({"servers", "list"}).out, "Prod East\n");
  EXPECT_EQ(Cli({"servers", "show", "Prod East"}).out,
            "Path=d:\\essbase\\\nDNS=ess01\nUserName=u\nPassword=********\nAccess=1\n");
}

TEST_F(ServersCommandTest, AddRemoteReadsThePasswordFromStdinWithoutItsLineEnd) {
  for (const std::string input : {"se\"cr\\et\nsecond line\n", "se\"cr\\et\r\n", "se\"cr\\et"}) {
    const CliRun add =
        Cli({"servers", "add", "ESS", "--dns", "ess01.example.com", "--user", "admin", "--password-stdin"}, input);
    EXPECT_EQ(add.exit_code, 0) << add.err;
    EXPECT_EQ(Cli({"servers", "show", "ESS", "--reveal"}).out,
              "DNS=ess01.example.com\nUserName=admin\nPassword=se\"cr\\et\nAccess=1\n");
  }
  EXPECT_NE(FileContent(Store()).find(kServersSection + "ESS]\r\n\"DNS\"=\"ess01.example.com\"\r\n"
                                                     "\"UserName\"=\"admin\"\r\n\"Password\"=\"se\\\"cr\\\\et\"\r\n"
                                                     "\"Access\"=\"1\"\r\n"),
            std::string::npos);
}

TEST_F(ServersCommandTest, ShowPrintsOnlyTheTextValuesThatExistInTheFixedOrder) {
  WriteStore(kServersSection + "OLD]\r\n\"Access\"=\"\"\r\n\"UserName\"=dword:00000001\r\n" +
             "\"Path\"=\"\\\\\\\\fs\\\\ess\"\r\n\"Other\"=\"x\"\r\n\"DNS\"=\"ess01\"\r\n");
  const CliRun show = Cli({"servers", "show", "OLD"});
  EXPECT_EQ(show.exit_code, 0);
  EXPECT_EQ(show.out, "Path=\\\\fs\\ess\nDNS=ess01\nAccess=\n");
}

TEST_F(ServersCommandTest, RemoveDeletesTheServerWhateverTheCaseOfItsName) {
  WriteStore(kServersSection + "PROD]\r\n\"Access\"=\"0\"\r\n\r\n" + kServersSection + "DEV]\r\n\"Access\"=\"0\"\r\n");
  const CliRun remove = Cli({"servers", "remove", "prod"});
  EXPECT_EQ(remove.exit_code, 0) << remove.err;
  EXPECT_EQ(Cli({"servers", "list"}).out, "DEV\n");
}

TEST_F(ServersCommandTest, AnUnknownServerIsOneLineOnStderrAndExit1) {
  WriteStore(kServersSection + "PROD]\r\n");
  for (const std::string command : {"show", "remove"}) {
    const CliRun run = Cli({"servers", command, "NOSUCH"});
    EXPECT_EQ(run.exit_code, 1) << command;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kelvary-cli: no server named NOSUCH\n");
  }
}

TEST_F(ServersCommandTest, AnEmptyNameOrOneWithABackslashIsRefusedAndNothingWritten) {
  for (const Arguments& add : {Arguments{"servers", "add", "", "--path", "d:\\essbase"},
                               Arguments{"servers", "add", std::string(256, 'x'), "--path", "d:\\essbase"},
                               Arguments{"servers", "add", "\\", "--path", "d:\\essbase"},
                               Arguments{"servers", "add", "../../../ESCAPE", "--path", "d:\\essbase"},
                               Arguments{"servers", "add", "x\\y", "--dns", "h", "--user", "u", "--password-stdin"}}) {
    const CliRun run = Cli(add, "p\n");
    EXPECT_EQ(run.exit_code, 64) << add[2];
    EXPECT_EQ(run.err, kRefusal);
  }
  EXPECT_FALSE(std::filesystem::exists(Store()));
}

TEST_F(ServersCommandTest, BadArgumentsExitWith64AndWriteNothing) {
  for (const Arguments& arguments :
       {Arguments{"servers"}, Arguments{"servers", "rename", "A"}, Arguments{"servers", "show"},
        Arguments{"servers", "remove"}, Arguments{"servers", "add", "A"}, Arguments{"servers", "add", "--path", "d:"},
        Arguments{"servers", "add", "A", "--path", "d:", "--dns", "h"},
        Arguments{"servers", "add", "A", "--dns", "h", "--user", "u"},
        Arguments{"servers", "add", "A", "--dns", "h", "--password-stdin"},
        Arguments{"servers", "add", "A", "--user", "u", "--password-stdin"},
        Arguments{"servers", "add", "A", "--dns", "h", "--user", "u", "--password", "p"},
        Arguments{"servers", "list", "extra"}}) {
    const CliRun run = Cli(arguments, "p\n");
    EXPECT_EQ(run.exit_code, 64) << arguments.back() << ": " << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(Store()));
}

TEST_F(ServersCommandTest, ADamagedStoreIsReportedWithItsLineAndLeftUntouched) {
  WriteStore(kServersSection + "PROD]\r\n\"Path\"=\"d:\\essbase\"\r\n");
  const std::string damaged = FileContent(Store());
  for (const Arguments& arguments : {Arguments{"servers", "list"}, Arguments{"servers", "show", "PROD"},
                                     Arguments{"servers", "add", "DEV", "--path", "e:"},
                                     Arguments{"servers", "remove", "PROD"}}) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("kelvary-cli: " + Store() + ", line 4: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  }
  EXPECT_EQ(FileContent(Store()), damaged);
}

// Up to 255 characters a name is stored, and listed with every name after it.
TEST_F(ServersCommandTest, ALongNameIsStoredAndListedWithTheServersAfterIt) {
  WriteStore(kServersSection + "AAA]\r\n\r\n" + kServersSection + std::string(254, 'M') + "]\r\n\r\n" +
             kServersSection + "ZZZ]\r\n\"Path\"=\"z\"\r\n\r\n");
  const CliRun add = Cli({"servers", "add", std::string(255, 'N'), "--path", "n"});
  EXPECT_EQ(add.exit_code, 0) << add.err;
  EXPECT_EQ(Cli({"servers", "list"}).out, "AAA\n" + std::string(254, 'M') + "\n" + std::string(255, 'N') + "\nZZZ\n");
  EXPECT_EQ(Cli({"servers", "show", "ZZZ"}).out, "Path=z\n");
}

// regedit's UTF-16 export: every name and value keeps its characters
// through a change, and the file stays UTF-16.
TEST_F(ServersCommandTest, AUtf16StoreKeepsEveryCharacterThroughAChange) {
  const auto utf16 = [](const std::u16string& text) {
    std::string bytes;
    for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
  };
  const std::string moscow = utf16(
      u"[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\\u041c\u043e\u0441\u043a\u0432\u0430]\r\n\"Path\"=\"a\"\r\n\r\n");
  const std::string berlin = utf16(
      u"[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\\u0411\u0435\u0440\u043b\u0438\u043d]\r\n\"Path\"=\"b\"\r\n"
      u"\"DNS\"=\"host\"\r\n\r\n");
  dir_.Write("config/kelvary/registry.reg", "\xFF\xFE" + utf16(u"Windows Registry Editor Version 5.00\r\n\r\n") + moscow + berlin);
  EXPECT_EQ(Cli({"servers", "add", "NEW", "--path", "n"}).exit_code, 0);
  EXPECT_EQ(Cli({"servers", "list"}).out, "NEW\n\u0411\u0435\u0440\u043b\u0438\u043d\n\u041c\u043e\u0441\u043a\u0432\u0430\n");
  EXPECT_EQ(Cli({"servers", "show", "\u043c\u043e\u0441\u043a\u0432\u0430"}).out, "Path=a\n");
  const std::string written = FileContent(Store());
  EXPECT_EQ(written.rfind("\xFF\xFE", 0), 0u);
  EXPECT_NE(written.find(moscow), std::string::npos);
  EXPECT_NE(written.find(berlin), std::string::npos);
}

TEST_F(ServersCommandTest, AReadOnlyStoreIsNamedAndLeftUnchanged) {
  WriteStore(kServersSection + "PROD]\r\n\"Access\"=\"0\"\r\n");
  std::filesystem::permissions(Store(), std::filesystem::perms::owner_read);
  const std::string before = FileContent(Store());
  const CliRun run = Cli({"servers", "add", "DEV", "--path", "e:"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "kelvary-cli: " + Store() + " is read-only (its owner may not write it). "
                     "The server store is left unchanged.\n");
  EXPECT_EQ(FileContent(Store()), before);
  EXPECT_EQ(Cli({"servers", "list"}).out, "PROD\n");
}

// A lock file that cannot be opened (here a folder in its place) stops every
// change, even for root.
TEST_F(ServersCommandTest, AChangeThatCannotBeMadeFailsWithExit1) {
  WriteStore(kServersSection + "PROD]\r\n\"Access\"=\"0\"\r\n");
  std::filesystem::create_directory(Store() + ".lock");
  for (const Arguments& arguments :
       {Arguments{"servers", "add", "DEV", "--path", "e:"}, Arguments{"servers", "remove", "PROD"}}) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "kelvary-cli: the server store could not be changed\n");
  }
  EXPECT_EQ(Cli({"servers", "list"}).out, "PROD\n");
}

}  // namespace
}  // namespace kelvary::test
