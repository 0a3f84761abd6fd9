// kelvary-cli check, run as a user runs it: against a file store, on the
// bundled demo log and through the stand-in Essbase library.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "../status/essbase_standin_fixtures.h"
#include "cli_run.h"

namespace kelvary::test {
namespace {

const std::string kSampleEssbase = std::string(KELVARY_SOURCE_DIR) + "/samples/essbase";
const std::string kSampleLog = kSampleEssbase + "/app/SAMPLE/SAMPLE.log";
const std::string kProgress = "Connecting to server...\nSearching log file...\n";
const std::string kFailureLine = "The application does not exist on this server.\n";

class CheckCommandTest : public ::testing::Test {
 protected:
  // A copy of the program of our own: remote logs land next to it.
  CheckCommandTest() { std::filesystem::copy_file(KELVARY_CLI, cli_); }

  // The store holds this one server, its .reg section's values given.
  void StoreServer(const std::string& name, const std::string& values) const {
    dir_.Write("store.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\" + name + "]\r\n" + values);
  }
  void StoreDemoServer() const { StoreServer("Demo", "\"Path\"=\"" + kSampleEssbase + "\"\r\n\"Access\"=\"0\"\r\n"); }
  void StoreRemoteServer(const std::string& password) const {
    StoreServer("Remote", std::string("\"DNS\"=\"") + standin::kServer + "\"\r\n\"UserName\"=\"" + standin::kUser +
                              "\"\r\n\"Password\"=\"" + password + "\"\r\n\"Access\"=\"1\"\r\n");
  }

  CliRun Cli(const Arguments& arguments) const {
    return RunProgram(dir_, cli_,
                      {{"KELVARY_REGISTRY_FILE", dir_.File("store.reg")},
                       {"KELVARY_ESSBASE_LIBRARY", KELVARY_STANDIN_LIBRARY},
                       {standin::kLogsVariable, dir_.File("logs")},
                       {standin::kRecordVariable, dir_.File("calls.txt")}},
                      arguments);
  }
  // What `scan` prints for the demo log: the report a check must print.
  std::string ScanReport(bool detail) const {
    const CliRun scan = Cli(detail ? Arguments{"scan", "--app", "SAMPLE", "--detail", kSampleLog}
                                   : Arguments{"scan", "--app", "SAMPLE", kSampleLog});
    EXPECT_EQ(scan.exit_code, 0);
    return scan.out;
  }

  TempFolder dir_;
  std::string cli_ = dir_.File("kelvary-cli");
};

TEST_F(CheckCommandTest, DirectServerPrintsTheReportThatScanPrintsWithDetailOnlyWhenAsked) {
  StoreDemoServer();
  for (const bool detail : {false, true}) {
    Arguments check = {"check", "--server", "Demo", "--app", "sample"};
    if (detail) check.push_back("--detail");
    const CliRun run = Cli(check);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out, ScanReport(detail));
    EXPECT_EQ(run.err, kProgress);
    EXPECT_EQ(run.out.find("  >> ") != std::string::npos, detail) << run.out;
  }
}

TEST_F(CheckCommandTest, AMissingApplicationOrServerPrintsTheFailureLineAndExits3) {
  StoreDemoServer();
  const CliRun no_application = Cli({"check", "--server", "Demo", "--app", "nosuch"});
  EXPECT_EQ(no_application.exit_code, 3);
  EXPECT_EQ(no_application.out, kFailureLine);
  EXPECT_EQ(no_application.err.rfind(kProgress + "kelvary-cli: " + kSampleEssbase + "/app/NOSUCH/NOSUCH.log: ", 0),
            0u);

  const CliRun no_server = Cli({"check", "--server", "Nowhere", "--app", "SAMPLE"});
  EXPECT_EQ(no_server.exit_code, 3);
  EXPECT_EQ(no_server.out, kFailureLine);
}

TEST_F(CheckCommandTest, RemoteServerDownloadsNextToTheProgramAndReports) {
  StoreRemoteServer(standin::kPassword);
  dir_.Write("logs/SAMPLE.log", FileContent(kSampleLog));

  const CliRun check = Cli({"check", "--server", "Remote", "--app", "SAMPLE", "--detail"});

  EXPECT_EQ(check.exit_code, 0);
  EXPECT_EQ(check.out, ScanReport(true));
  EXPECT_EQ(FileContent(dir_.File("Remote_SAMPLE.log")), FileContent(kSampleLog));
  EXPECT_EQ(ReadLines(dir_.File("calls.txt")).size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Kelvary.ini")));
}

TEST_F(CheckCommandTest, RefusedLoginPrintsTheMessageAndExits4) {
  StoreRemoteServer("guess");

  const CliRun check = Cli({"check", "--server", "Remote", "--app", "SAMPLE"});

  EXPECT_EQ(check.exit_code, 4);
  EXPECT_EQ(check.out, "");
  EXPECT_EQ(check.err, kProgress +
                           "The password you have entered is incorrect.  The status of the calculation can not "
                           "be checked.\n");
}

struct ExitCase {
  const char* name;
  const char* server;  // "Demo" reads the demo folder, "Remote" the stand-in library
  const char* application;
  int exit_code;
  std::string out;
};

class CheckExitTest : public CheckCommandTest, public ::testing::WithParamInterface<ExitCase> {};

// Each way a check can fail prints its own line and exits with its own code;
// none hangs, none scans what it should not, none writes outside the folder.
TEST_P(CheckExitTest, PrintsItsLineAndExitsWithItsCode) {
  const std::string essbase = dir_.File("essbase");
  StoreServer("Demo", "\"Path\"=\"" + essbase + "\"\r\n");
  std::filesystem::create_directories(essbase + "/app/PIPE");
  ASSERT_EQ(mkfifo((essbase + "/app/PIPE/PIPE.log").c_str(), 0600), 0);
  std::filesystem::create_directories(essbase + "/app/MEM");
  std::filesystem::create_symlink("/proc/self/mem", essbase + "/app/MEM/MEM.log");
  if (std::string(GetParam().server) == "Remote") {
    StoreRemoteServer(standin::kPassword);
    dir_.Write("Remote_SAMPLE.log", FileContent(kSampleLog));  // an earlier check's copy
  }

  const CliRun run = Cli({"check", "--server", GetParam().server, "--app", GetParam().application});

  EXPECT_EQ(run.exit_code, GetParam().exit_code) << run.err;
  EXPECT_EQ(run.out, GetParam().out);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("X")));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, CheckExitTest,
    ::testing::Values(ExitCase{"Missing", "Demo", "nosuch", 3, kFailureLine},
                      ExitCase{"NotAFile", "Demo", "pipe", 2, "The application's log could not be read.\n"},
                      ExitCase{"ReadFails", "Demo", "mem", 2, "The application's log could not be read.\n"},
                      ExitCase{"DownloadFails", "Remote", "sample", 5,
                               "The server could not send the application's log.\n"},
                      ExitCase{"HostileName", "Remote", "/../../X/pwn", 64, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckCommandTest, HostileApplicationNameIsRefusedOnStderrBeforeTheLogin) {
  StoreRemoteServer(standin::kPassword);
  const CliRun run = Cli({"check", "--server", "Remote", "--app", "\\..\\..\\OUTSIDE"});
  EXPECT_EQ(run.exit_code, 64);
  EXPECT_EQ(run.err, "The application name must not contain the character '\\'.\n");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("calls.txt")));
}

// A full disk or a closed pipe is no success.
TEST_F(CheckCommandTest, OutputThatCannotBeWrittenExits74) {
  for (const char* redirect : {" >/dev/full", " >&-"}) {
    const std::string command =
        ShellQuoted(cli_) + " scan --app SAMPLE " + ShellQuoted(kSampleLog) + " 2>" + ShellQuoted(dir_.File("err")) + redirect;
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 74) << redirect;
    EXPECT_EQ(FileContent(dir_.File("err")).rfind("kelvary-cli: standard output could not be written: ", 0), 0u);
  }
}

TEST_F(CheckCommandTest, MissingArgumentsExit64) {
  EXPECT_EQ(Cli({"check", "--app", "SAMPLE"}).exit_code, 64);
  EXPECT_EQ(Cli({"check", "--server", "Demo"}).exit_code, 64);
}

}  // namespace
}  // namespace kelvary::test
