// kelvary-cli servers, run as a user runs it, against a .reg store file of
// the test's own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../status/check_test_support.h"

namespace kelvary::test {
namespace {

const std::string kRefusal = "A server name must not be empty or contain a backslash (\\).\n";
const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kServersSection = "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\";

struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

class ServersCommandTest : public ::testing::Test {
 protected:
  CliRun Cli(const std::vector<std::string>& arguments, const std::string& input = "") const {
    dir_.Write("in", input);
    std::string command = "KELVARY_REGISTRY_FILE=" + ShellQuoted(Store()) + " " + ShellQuoted(KELVARY_CLI);
    for (const std::string& argument : arguments) {
      command.append(1, ' ').append(ShellQuoted(argument));
    }
    command += " <" + ShellQuoted(dir_.File("in")) + " >" + ShellQuoted(dir_.File("out")) + " 2>" +
               ShellQuoted(dir_.File("err"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_.File("out")), ReadFile(dir_.File("err"))};
  }

  std::string Store() const { return dir_.File("config/kelvary/registry.reg"); }
  void WriteStore(const std::string& body) const { dir_.Write("config/kelvary/registry.reg", kHeader + body); }

  TempDir dir_;
};

TEST_F(ServersCommandTest, AnEmptyStoreListsNothing) {
  const CliRun list = Cli({"servers", "list"});
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_EQ(list.out, "");
  EXPECT_FALSE(std::filesystem::exists(Store()));
}

TEST_F(ServersCommandTest, ListsOneNameALineInWindowsOrder) {
  WriteStore(kServersSection + "_lab]\r\n\r\n" + kServersSection + "Zeta]\r\n\r\n" + kServersSection +
             "alpha]\r\n\r\n");
  const CliRun list = Cli({"servers", "list"});
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_EQ(list.out, "alpha\nZeta\n_lab\n");
}

TEST_F(ServersCommandTest, AddWithPathStoresItAsTheAddDialogDoes) {
  const CliRun add = Cli({"servers", "add", "Prod East", "--path", "d:\\essbase\\\\"});
  EXPECT_EQ(add.exit_code, 0) << add.err;
  EXPECT_NE(ReadFile(Store()).find(kServersSection + "Prod East]\r\n\"Path\"=\"d:\\\\essbase\\\\\"\r\n"
                                                     "\"Access\"=\"0\"\r\n"),
            std::string::npos);
  EXPECT_EQ(Cli({"servers", "show", "prod east"}).out, "Path=d:\\essbase\\\nAccess=0\n");
}

TEST_F(ServersCommandTest, AddRemoteReadsThePasswordFromStdinWithoutItsLineEnd) {
  for (const std::string input : {"se\"cr\\et\nsecond line\n", "se\"cr\\et\r\n", "se\"cr\\et"}) {
    const CliRun add =
        Cli({"servers", "add", "ESS", "--dns", "ess01.example.com", "--user", "admin", "--password-stdin"}, input);
    EXPECT_EQ(add.exit_code, 0) << add.err;
    EXPECT_EQ(Cli({"servers", "show", "ESS", "--reveal"}).out,
              "DNS=ess01.example.com\nUserName=admin\nPassword=se\"cr\\et\nAccess=1\n");
  }
  EXPECT_NE(ReadFile(Store()).find(kServersSection + "ESS]\r\n\"DNS\"=\"ess01.example.com\"\r\n"
                                                     "\"UserName\"=\"admin\"\r\n\"Password\"=\"se\\\"cr\\\\et\"\r\n"
                                                     "\"Access\"=\"1\"\r\n"),
            std::string::npos);
}

TEST_F(ServersCommandTest, ShowHidesThePasswordUnlessRevealed) {
  WriteStore(kServersSection + "ESS]\r\n\"Password\"=\"pw\"\r\n\"Access\"=\"1\"\r\n");
  EXPECT_EQ(Cli({"servers", "show", "ESS"}).out, "Password=********\nAccess=1\n");
  EXPECT_EQ(Cli({"servers", "show", "ESS", "--reveal"}).out, "Password=pw\nAccess=1\n");
}

TEST_F(ServersCommandTest, ShowPrintsOnlyTheTextValuesThatExistInTheFixedOrder) {
  WriteStore(kServersSection + "OLD]\r\n\"Access\"=\"\"\r\n\"UserName\"=dword:00000001\r\n" +
             "\"Path\"=\"\\\\\\\\fs\\\\ess\"\r\n\"Other\"=\"x\"\r\n\"DNS\"=\"ess01\"\r\n");
  const CliRun show = Cli({"servers", "show", "OLD"});
  EXPECT_EQ(show.exit_code, 0);
  EXPECT_EQ(show.out, "Path=\\\\fs\\ess\nDNS=ess01\nAccess=\n");
}

TEST_F(ServersCommandTest, AServerAddedAgainAsTheOtherKindKeepsItsOldValues) {
  ASSERT_EQ(Cli({"servers", "add", "PROD", "--path", "d:\\essbase"}).exit_code, 0);
  ASSERT_EQ(Cli({"servers", "add", "prod", "--dns", "ess01", "--user", "u", "--password-stdin"}, "p\n").exit_code, 0);
  EXPECT_EQ(Cli({"servers", "list"}).out, "PROD\n");
  EXPECT_EQ(Cli({"servers", "show", "PROD"}).out,
            "Path=d:\\essbase\nDNS=ess01\nUserName=u\nPassword=********\nAccess=1\n");
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
  for (const std::string name : {"", "a\\b", "\\"}) {
    const CliRun add = Cli({"servers", "add", name, "--path", "d:\\essbase"});
    EXPECT_EQ(add.exit_code, 64) << name;
    EXPECT_EQ(add.err, kRefusal);
  }
  const CliRun remote = Cli({"servers", "add", "x\\y", "--dns", "h", "--user", "u", "--password-stdin"}, "p\n");
  EXPECT_EQ(remote.exit_code, 64);
  EXPECT_EQ(remote.err, kRefusal);
  EXPECT_FALSE(std::filesystem::exists(Store()));
}

class ServersBadArguments : public ServersCommandTest,
                            public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(ServersBadArguments, ExitWith64AndWriteNothing) {
  const CliRun run = Cli(GetParam(), "p\n");
  EXPECT_EQ(run.exit_code, 64) << run.err;
  EXPECT_FALSE(run.err.empty());
  EXPECT_FALSE(std::filesystem::exists(Store()));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ServersBadArguments,
    ::testing::Values(std::vector<std::string>{"servers"},
                      std::vector<std::string>{"servers", "rename", "A"},
                      std::vector<std::string>{"servers", "show"},
                      std::vector<std::string>{"servers", "remove"},
                      std::vector<std::string>{"servers", "add", "A"},
                      std::vector<std::string>{"servers", "add", "--path", "d:"},
                      std::vector<std::string>{"servers", "add", "A", "--path", "d:", "--dns", "h"},
                      std::vector<std::string>{"servers", "add", "A", "--dns", "h", "--user", "u"},
                      std::vector<std::string>{"servers", "add", "A", "--dns", "h", "--password-stdin"},
                      std::vector<std::string>{"servers", "add", "A", "--user", "u", "--password-stdin"},
                      std::vector<std::string>{"servers", "add", "A", "--dns", "h", "--user", "u",
                                                         "--password", "p"},
                      std::vector<std::string>{"servers", "list", "extra"}));

TEST_F(ServersCommandTest, ADamagedStoreIsReportedWithItsLineAndLeftUntouched) {
  WriteStore(kServersSection + "PROD]\r\n\"Path\"=\"d:\\essbase\"\r\n");
  const std::string damaged = ReadFile(Store());
  const std::string report = "kelvary-cli: " + Store() + ", line 4: ";
  for (const auto& arguments : {std::vector<std::string>{"servers", "list"},
                                std::vector<std::string>{"servers", "show", "PROD"},
                                std::vector<std::string>{"servers", "add", "DEV", "--path", "e:"},
                                std::vector<std::string>{"servers", "remove", "PROD"}}) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(report, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  }
  EXPECT_EQ(ReadFile(Store()), damaged);
}

// A lock file that cannot be opened (here a folder in its place) stops every
// change, even for root.
TEST_F(ServersCommandTest, AChangeThatCannotBeMadeFailsWithExit1) {
  WriteStore(kServersSection + "PROD]\r\n\"Access\"=\"0\"\r\n");
  std::filesystem::create_directory(Store() + ".lock");
  for (const auto& arguments : {std::vector<std::string>{"servers", "add", "DEV", "--path", "e:"},
                                std::vector<std::string>{"servers", "remove", "PROD"}}) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "kelvary-cli: the server store could not be changed\n");
  }
  EXPECT_EQ(Cli({"servers", "list"}).out, "PROD\n");
}

}  // namespace
}  // namespace kelvary::test
