// kelvary-cli run as a user runs it, through the shell, against a .reg
// store file of the test's own, the bundled demo log and the stand-in
// Essbase library: what each command prints, and its exit code.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "essbase_standin/essbase_standin.h"
#include "support/temp_folder.h"

namespace kelvary::test {
namespace {

using Arguments = std::vector<std::string>;

const std::string kSampleEssbase = std::string(KELVARY_SOURCE_DIR) + "/samples/essbase";
const std::string kSampleLog = kSampleEssbase + "/app/SAMPLE/SAMPLE.log";
const std::string kProgress = "Connecting to server...\nSearching log file...\n";
const std::string kStoreHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kServers = "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\";

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  // A copy of the program of our own: remote logs land next to it.
  CliTest() { std::filesystem::copy_file(KELVARY_CLI, cli_); }

  // Under `timeout`, so that a program that hangs fails its test instead of stalling the suite.
  CliRun Cli(const Arguments& arguments, const std::string& input = "", const std::string& redirect = "",
             const std::string& timeout = "timeout 60") const {
    dir_.Write("in", input);
    std::string command = timeout + " env KELVARY_REGISTRY_FILE=" + ShellQuoted(Store()) +
                          " KELVARY_ESSBASE_LIBRARY=" + ShellQuoted(KELVARY_STANDIN_LIBRARY) + " " +
                          standin::kLogsVariable + "=" + ShellQuoted(dir_.File("logs")) + " " +
                          standin::kRecordVariable + "=" + ShellQuoted(dir_.File("calls.txt")) + " " + ShellQuoted(cli_);
    for (const std::string& argument : arguments) command.append(1, ' ').append(ShellQuoted(argument));
    command += " <" + ShellQuoted(dir_.File("in")) + " 2>" + ShellQuoted(dir_.File("err"));
    command += redirect.empty() ? " >" + ShellQuoted(dir_.File("out")) : redirect;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileContent(dir_.File("out")), FileContent(dir_.File("err"))};
  }
  std::string Store() const { return dir_.File("config/kelvary/registry.reg"); }
  void WriteStore(const std::string& sections) const { dir_.Write("config/kelvary/registry.reg", kStoreHeader + sections); }
  // The demo server, a direct one on an empty Essbase folder holding a pipe
  // and a log that cannot be read, and the stand-in's server.
  void StoreCheckServers(const std::string& password) const {
    const std::string essbase = dir_.File("essbase");
    std::filesystem::create_directories(essbase + "/app/PIPE");
    mkfifo((essbase + "/app/PIPE/PIPE.log").c_str(), 0600);
    std::filesystem::create_directories(essbase + "/app/MEM");
    std::filesystem::create_symlink("/proc/self/mem", essbase + "/app/MEM/MEM.log");
    WriteStore(kServers + "Demo]\r\n\"Path\"=\"" + kSampleEssbase + "\"\r\n\r\n" + kServers + "Empty]\r\n\"Path\"=\"" +
               essbase + "\"\r\n\r\n" + kServers + "Remote]\r\n\"DNS\"=\"" + standin::kServer + "\"\r\n\"UserName\"=\"" +
               standin::kUser + "\"\r\n\"Password\"=\"" + password + "\"\r\n\"Access\"=\"1\"\r\n");
  }

  TempFolder dir_;
  std::string cli_ = dir_.File("kelvary-cli");
};

// A check prints what `scan` prints for the same log. The remote copy lands
// next to the program; the window's settings file is not written.
TEST_F(CliTest, CheckPrintsTheReportThatScanPrintsWithDetailOnlyWhenAsked) {
  StoreCheckServers(standin::kPassword);
  dir_.Write("logs/SAMPLE.log", FileContent(kSampleLog));
  for (const std::string server : {"Demo", "Remote"}) {
    for (const bool detail : {false, true}) {
      Arguments check = {"check", "--server", server, "--app", "sample"};
      Arguments scan = {"scan", "--app", "SAMPLE", kSampleLog};
      if (detail) {
        check.push_back("--detail");
        scan.push_back("--detail");
      }
      const CliRun run = Cli(check);
      EXPECT_EQ(run.exit_code, 0) << run.err;
      EXPECT_EQ(run.out, Cli(scan).out) << "what scan prints for the demo log";
      EXPECT_EQ(run.err, kProgress);
      EXPECT_EQ(run.out.find("  >> ") != std::string::npos, detail) << run.out;
    }
    const CliRun json = Cli({"check", "--server", server, "--app", "sample", "--json"});
    const auto report = nlohmann::json::parse(json.out, nullptr, false);
    EXPECT_TRUE(report.is_object() && report["application"] == "SAMPLE") << "the report as JSON: " << json.out;
    EXPECT_EQ(json.err, kProgress);
  }
  EXPECT_EQ(FileContent(dir_.File("Remote_SAMPLE.log")), FileContent(kSampleLog));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Kelvary.ini")));
}

// Each way a check can fail prints its own line and exits with its own code;
// none hangs, none scans what it should not, none writes outside the folder.
TEST_F(CliTest, EachFailedCheckPrintsItsLineAndExitsWithItsCode) {
  // Server, application, password, exit code, output, the error's start.
  const std::tuple<const char*, const char*, const char*, int, std::string, std::string> cases[] = {
      {"Demo", "nosuch", standin::kPassword, 3, "The application does not exist on this server.\n",
       kProgress + "kelvary-cli: " + kSampleEssbase + "/app/NOSUCH/NOSUCH.log: "},
      {"Nowhere", "sample", standin::kPassword, 3, "The application does not exist on this server.\n", kProgress},
      {"Empty", "pipe", standin::kPassword, 2, "The application's log could not be read.\n", kProgress},
      {"Empty", "mem", standin::kPassword, 2, "The application's log could not be read.\n", kProgress},
      {"Remote", "sample", standin::kPassword, 5, "The server could not send the application's log.\n", kProgress},
      {"Remote", "sample", "guess", 4, "",
       kProgress + "The password you have entered is incorrect.  The status of the calculation can not be checked.\n"},
      {"Remote", "\\..\\..\\X", standin::kPassword, 64, "",
       "The application name must not contain the character '\\'.\n"},
  };
  for (const auto& [server, application, password, exit_code, out, err_start] : cases) {
    std::filesystem::remove_all(dir_.File("essbase"));
    StoreCheckServers(password);
    dir_.Write("Remote_SAMPLE.log", FileContent(kSampleLog));  // an earlier check's copy
    const CliRun run = Cli({"check", "--server", server, "--app", application});
    EXPECT_EQ(run.exit_code, exit_code) << application << ": " << run.err;
    EXPECT_EQ(run.out, out) << application;
    EXPECT_EQ(run.err.rfind(err_start, 0), 0u) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.File("X")));
}

// A full disk or a closed pipe is no success; bad arguments are a usage error.
TEST_F(CliTest, UnwritableOutputExits74AndBadArgumentsExit64WritingNothing) {
  for (const char* redirect : {" >/dev/full", " >&-"}) {
    const CliRun run = Cli({"scan", "--app", "SAMPLE", kSampleLog}, "", redirect);
    EXPECT_EQ(run.exit_code, 74) << redirect;
    EXPECT_EQ(run.err.rfind("kelvary-cli: standard output could not be written: ", 0), 0u);
  }
  for (const Arguments& arguments :
       {Arguments{"check", "--app", "SAMPLE"}, Arguments{"servers", "rename", "A"}, Arguments{"servers", "show"},
        Arguments{"servers", "add", "A", "--path", "d:", "--dns", "h"},
        Arguments{"servers", "add", "A", "--dns", "h", "--user", "u"}, Arguments{"servers", "list", "extra"}}) {
    const CliRun run = Cli(arguments, "p\n");
    EXPECT_EQ(run.exit_code, 64) << arguments.back() << ": " << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  for (const std::string name : {"", "x\\y", "../../../ESCAPE"}) {
    EXPECT_EQ(Cli({"servers", "add", name, "--path", "d:"}).exit_code, 64) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(Store()));
}

// Listed in Windows order; a server added again as the other kind, under
// another case of its name, keeps its old values; the password is read from
// the first line of standard input and shown only when asked.
TEST_F(CliTest, ServersAreListedShownAddedAndRemovedAsTheDialogsDo) {
  EXPECT_EQ(Cli({"servers", "list"}).out, "");
  EXPECT_FALSE(std::filesystem::exists(Store()));
  WriteStore(kServers + "_lab]\r\n\r\n" + kServers + "OLD]\r\n\"Access\"=\"\"\r\n\"UserName\"=dword:00000001\r\n" +
             "\"Path\"=\"\\\\\\\\fs\\\\ess\"\r\n\"Other\"=\"x\"\r\n\"DNS\"=\"ess01\"\r\n\r\n");
  EXPECT_EQ(Cli({"servers", "show", "old"}).out, "Path=\\\\fs\\ess\nDNS=ess01\nAccess=\n");
  EXPECT_EQ(Cli({"servers", "add", "Prod East", "--path", "d:\\essbase\\\\"}).exit_code, 0);
  const CliRun remote = Cli({"servers", "add", "prod EAST", "--dns", "ess01", "--user", "u", "--password-stdin"},
                            "se\"cr\\et\r\nsecond line\n");
  EXPECT_EQ(remote.exit_code, 0) << remote.err;
  EXPECT_EQ(Cli({"servers", "list"}).out, "OLD\nProd East\n_lab\n");
  EXPECT_EQ(Cli({"servers", "show", "Prod East"}).out,
            "Path=d:\\essbase\\\nDNS=ess01\nUserName=u\nPassword=********\nAccess=1\n");
  EXPECT_NE(Cli({"servers", "show", "Prod East", "--reveal"}).out.find("\nPassword=se\"cr\\et\n"), std::string::npos);
  EXPECT_EQ(Cli({"servers", "remove", "OLD"}).exit_code, 0);
  EXPECT_EQ(Cli({"servers", "list"}).out, "Prod East\n_lab\n");
  for (const std::string command : {"show", "remove"}) {
    const CliRun run = Cli({"servers", command, "NOSUCH"});
    EXPECT_EQ(run.exit_code, 1) << command;
    EXPECT_EQ(run.err, "kelvary-cli: no server named NOSUCH\n");
  }
}

// Said in one line naming the file, and the file is left as it was.
TEST_F(CliTest, AStoreThatIsDamagedReadOnlyOrLockedChangesNothing) {
  WriteStore(kServers + "PROD]\r\n\"Path\"=\"d:\\essbase\"\r\n");
  for (const Arguments& arguments : {Arguments{"servers", "list"}, Arguments{"servers", "remove", "PROD"}}) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err.rfind("kelvary-cli: " + Store() + ", line 4: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
  }
  WriteStore(kServers + "PROD]\r\n\"Access\"=\"0\"\r\n");
  std::filesystem::create_directory(Store() + ".lock");
  EXPECT_EQ(Cli({"servers", "add", "DEV", "--path", "e:"}).err, "kelvary-cli: the server store could not be changed\n");
  // Stored already, but not as a remote server: the change did not happen.
  EXPECT_EQ(Cli({"servers", "add", "PROD", "--dns", "ess01", "--user", "u", "--password-stdin"}, "pw\n").err,
            "kelvary-cli: the server store could not be changed\n");
  std::filesystem::remove(Store() + ".lock");
  std::filesystem::permissions(Store(), std::filesystem::perms::owner_read);
  const CliRun run = Cli({"servers", "remove", "PROD"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "kelvary-cli: " + Store() +
                         " is read-only (its owner may not write it). The server store is left unchanged.\n");
  EXPECT_EQ(Cli({"servers", "list"}).out, "PROD\n");
}

// One finished run of Sales by admin (its figure 600 s), then one running
// with one notice of two, and a later message that gives the latest stamp.
const std::string kLog =
    "[Wed Jan 08 08:00:00 2003]Local/Sample/Sales/admin/Info(1012555)\r\n"
    "Calculating [ Measures(Sales)] with fixed members [Year(Jan)]\r\n"
    "[Wed Jan 08 08:10:00 2003]Local/Sample/Sales/admin/Info(1012579)\r\n"
    "Total Calc Elapsed Time : [600] seconds\r\n"
    "[Wed Jan 08 09:00:00 2003]Local/Sample/Sales/admin/Info(1012555)\r\n"
    "Calculating [ Measures(Sales)] with fixed members [Year(Feb)]\r\n"
    "[Wed Jan 08 09:00:01 2003]Local/Sample/Sales/admin/Info(1012669)\r\n"
    "Completion Notice For Every: [ 50%] Of Blocks\r\n"
    "[Wed Jan 08 09:04:00 2003]Local/Sample/Sales/admin/Info(1012670)\r\n"
    "Calculator Information Message: Completion Notice: [1] of [2] intervals done\r\n"
    "[Wed Jan 08 09:05:00 2003]Local/Sample/Plan/joe/Info(1013091)\r\n"
    "Received Command [Report] from user [joe]\r\n";

const char* kHistoryJson = R"({"runs": [{"database": "SALES", "user": "admin", "started": "2003-01-08T08:00:00",
    "finished": "2003-01-08T08:10:00", "elapsed_seconds": 600.0}],
  "summary": [{"database": "SALES", "user": "admin", "runs": 1, "median_seconds": 600.0,
    "longest_seconds": 600.0, "latest_finished": "2003-01-08T08:10:00"}]})";

// A watch of a log where nothing runs prints nothing and, with --until-done,
// ends at once; a watch of every application names each one's lines, and
// one without --until-done goes on until Ctrl-C.
TEST_F(CliTest, WatchEndsWhenNothingRunsOrAtCtrlC) {
  StoreCheckServers(standin::kPassword);
  dir_.Write("essbase/app/QUIET/QUIET.log", kLog.substr(0, kLog.find("[Wed Jan 08 09:00:00")));
  const CliRun one = Cli({"watch", "--server", "Empty", "--app", "quiet", "--until-done"});
  EXPECT_EQ(one.exit_code, 0) << one.err;
  EXPECT_EQ(one.out + one.err, "");
  const CliRun all = Cli({"watch", "--server", "Empty", "--all-apps", "--until-done"});
  EXPECT_EQ(all.exit_code, 0) << all.err;
  EXPECT_NE(all.out.find("  PIPE: check failed: "), std::string::npos) << all.out;
  const CliRun interrupted =
      Cli({"watch", "--server", "Empty", "--app", "quiet"}, "", "", "timeout --preserve-status -s INT 1");
  EXPECT_EQ(interrupted.exit_code, 130) << interrupted.err;
}

// The estimate line comes only when asked for. A log last written ahead of
// the clock has no age; one written 10 min ago adds them to the running time.
TEST_F(CliTest, EstimatesJsonAndHistoryKeepTheirShape) {
  namespace fs = std::filesystem;
  const std::string log = dir_.Write("SAMPLE.log", kLog);
  fs::last_write_time(log, fs::file_time_type::clock::now() + std::chrono::hours(1));
  const CliRun scan = Cli({"scan", "--app", "sample", "--json", log});
  ASSERT_EQ(scan.exit_code, 0) << scan.err;
  const auto expected = nlohmann::ordered_json::parse(std::string(R"({"application": "SAMPLE",
    "latest_stamp": "2003-01-08T09:05:00", "latest_entry_age_seconds": null,
    "running": [{"database": "SALES", "user": "admin", "started": "2003-01-08T09:00:00", "notices_done": 1,
      "notices_total": 2, "percent": 50, "elapsed_seconds": 300, "estimated_finish": "2003-01-08T09:08:00",
      "estimated_seconds_left": 180, "estimate_basis": "notices",
      "notices": [{"done": 1, "total": 2, "stamp": "2003-01-08T09:04:00"}]}],
    "history": )") + kHistoryJson + "}");
  EXPECT_EQ(nlohmann::ordered_json::parse(scan.out), expected);

  const CliRun history_json = Cli({"history", "--app", "SAMPLE", "--json", log});
  EXPECT_EQ(nlohmann::ordered_json::parse(history_json.out), nlohmann::ordered_json::parse(kHistoryJson));
  const CliRun history = Cli({"history", "--app", "SAMPLE", log});
  EXPECT_EQ(history.out,
            "SALES by admin: 1 run, median 10 min, longest 10 min, latest finished 2003-01-08 08:10:00\n"
            "Latest finished runs, oldest first:\n"
            "  SALES by admin: 2003-01-08 08:00:00 to 2003-01-08 08:10:00, 10 min\n");
  EXPECT_EQ(Cli({"history", "--app", "SAMPLE"}).exit_code, 64) << "no log named";

  const std::string line = "SALES (1 out of 2) - Started at 09:00 am by admin\n";
  EXPECT_EQ(Cli({"scan", "--app", "SAMPLE", log}).out, line);
  EXPECT_EQ(Cli({"scan", "--app", "SAMPLE", "--estimates", "--detail", log}).out,
            line + "  ~ 50%, running 5 min, about 3 min left (from its notices)\n  >> 1/2:  09:04\n");
  fs::last_write_time(log, fs::file_time_type::clock::now() - std::chrono::minutes(10));
  EXPECT_EQ(Cli({"scan", "--app", "SAMPLE", "--estimates", log}).out,
            line + "  ~ 50%, running 15 min, due now (from its notices)\n");
}

}  // namespace
}  // namespace kelvary::test
