// kelvary-cli check, run as a user runs it: against a file store, on the
// bundled demo log and through the stand-in Essbase library.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../status/check_test_support.h"
#include "../status/essbase_standin_fixtures.h"

namespace kelvary::test {
namespace {

const std::string kSampleEssbase = std::string(KELVARY_SOURCE_DIR) + "/samples/essbase";
const std::string kSampleLog = kSampleEssbase + "/app/SAMPLE/SAMPLE.log";
const std::string kProgress = "Connecting to server...\nSearching log file...\n";

struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};

class CheckCommandTest : public ::testing::Test {
 protected:
  CheckCommandTest() {
    // A copy of the program of our own: remote logs land next to it.
    std::filesystem::copy_file(KELVARY_CLI, cli_);
    WriteStore({});
  }

  // The store holds the servers given as .reg sections' bodies.
  void WriteStore(const std::vector<std::pair<std::string, std::string>>& servers) {
    std::string reg = "Windows Registry Editor Version 5.00\r\n";
    for (const auto& [name, values] : servers) {
      reg += "\r\n[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\" + name + "]\r\n" + values;
    }
    dir_.Write("store.reg", reg);
  }
  static std::string DirectServer(const std::string& path) {
    return "\"Path\"=\"" + path + "\"\r\n\"Access\"=\"0\"\r\n";
  }
  static std::string RemoteServer(const std::string& password) {
    return std::string("\"DNS\"=\"") + standin::kServer + "\"\r\n\"UserName\"=\"" + standin::kUser +
           "\"\r\n\"Password\"=\"" + password + "\"\r\n\"Access\"=\"1\"\r\n";
  }

  CliRun Cli(const std::string& arguments) const {
    const std::string command = "KELVARY_REGISTRY_FILE='" + dir_.File("store.reg") + "' KELVARY_ESSBASE_LIBRARY='" +
                                KELVARY_STANDIN_LIBRARY + "' KELVARY_STANDIN_LOGS='" + dir_.File("logs") +
                                "' KELVARY_STANDIN_RECORD='" + dir_.File("calls.txt") + "' '" + cli_ + "' " +
                                arguments + " >'" + dir_.File("out") + "' 2>'" + dir_.File("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_.File("out")), ReadFile(dir_.File("err"))};
  }

  TempDir dir_;
  std::string cli_ = dir_.File("kelvary-cli");
};

TEST_F(CheckCommandTest, DirectServerPrintsTheReportThatScanPrints) {
  WriteStore({{"Demo", DirectServer(kSampleEssbase)}});
  const CliRun scan = Cli("scan --app SAMPLE --detail '" + kSampleLog + "'");
  ASSERT_EQ(scan.exit_code, 0);

  const CliRun check = Cli("check --server Demo --app sample --detail");

  EXPECT_EQ(check.exit_code, 0);
  EXPECT_EQ(check.out, scan.out);
  EXPECT_EQ(check.err, kProgress);
  EXPECT_NE(check.out, "No calcs are currently processing\n");
}

TEST_F(CheckCommandTest, DetailLinesOnlyWhenAskedFor) {
  WriteStore({{"Demo", DirectServer(kSampleEssbase)}});

  const CliRun check = Cli("check --server Demo --app SAMPLE");

  EXPECT_EQ(check.exit_code, 0);
  EXPECT_EQ(check.out, Cli("scan --app SAMPLE '" + kSampleLog + "'").out);
  EXPECT_EQ(check.out.find("  >> "), std::string::npos);
}

TEST_F(CheckCommandTest, MissingApplicationPrintsTheFailureLineAndExits3) {
  WriteStore({{"Demo", DirectServer(kSampleEssbase)}});

  const CliRun check = Cli("check --server Demo --app nosuch");

  EXPECT_EQ(check.exit_code, 3);
  EXPECT_EQ(check.out, "The application does not exist on this server.\n");
  EXPECT_EQ(check.err.rfind(kProgress + "kelvary-cli: " + kSampleEssbase + "/app/NOSUCH/NOSUCH.log: ", 0), 0u);
}

TEST_F(CheckCommandTest, ServerNotInTheStoreExits3) {
  const CliRun check = Cli("check --server Nowhere --app SAMPLE");

  EXPECT_EQ(check.exit_code, 3);
  EXPECT_EQ(check.out, "The application does not exist on this server.\n");
}

TEST_F(CheckCommandTest, RemoteServerDownloadsNextToTheProgramAndReports) {
  WriteStore({{"Remote", RemoteServer(standin::kPassword)}});
  dir_.Write("logs/SAMPLE.log", ReadFile(kSampleLog));

  const CliRun check = Cli("check --server Remote --app SAMPLE --detail");

  EXPECT_EQ(check.exit_code, 0);
  EXPECT_EQ(check.out, Cli("scan --app SAMPLE --detail '" + kSampleLog + "'").out);
  EXPECT_EQ(ReadFile(dir_.File("Remote_SAMPLE.log")), ReadFile(kSampleLog));
  EXPECT_EQ(ReadLines(dir_.File("calls.txt")).size(), 5u);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Kelvary.ini")));
}

TEST_F(CheckCommandTest, RefusedLoginPrintsTheMessageAndExits4) {
  WriteStore({{"Remote", RemoteServer("guess")}});

  const CliRun check = Cli("check --server Remote --app SAMPLE");

  EXPECT_EQ(check.exit_code, 4);
  EXPECT_EQ(check.out, "");
  EXPECT_EQ(check.err, kProgress +
                           "The password you have entered is incorrect.  The status of the calculation can not "
                           "be checked.\n");
}

TEST_F(CheckCommandTest, MissingArgumentsExit64) {
  EXPECT_EQ(Cli("check --app SAMPLE").exit_code, 64);
  EXPECT_EQ(Cli("check --server Demo").exit_code, 64);
}

}  // namespace
}  // namespace kelvary::test
