// kelvary-cli check, run as a user runs it: against a file store, on the
// bundled demo log and through the stand-in Essbase library.
#include <gtest/gtest.h>

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

TEST_F(CheckCommandTest, MissingArgumentsExit64) {
  EXPECT_EQ(Cli({"check", "--app", "SAMPLE"}).exit_code, 64);
  EXPECT_EQ(Cli({"check", "--server", "Demo"}).exit_code, 64);
}

}  // namespace
}  // namespace kelvary::test
