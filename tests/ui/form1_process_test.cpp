// Kelvary.exe itself, as a process of its own: the version record it
// carries, the command line it starts with, its settings file, and the
// second instance Open New Window starts, from a folder whose path has
// blanks and letters outside the system code page in it (a user profile
// named after its owner). These use the
// Windows registry of the test prefix, with a server of their own.
#include <filesystem>

#include "form1_fixture.h"
#include "support/program_process_win32.h"
#include "status/per_user_folder.h"
#include "support/registry_test_helpers.h"
#include "ui/command_line.h"
#include "ui/version_record_win32.h"

namespace kelvary::test {
namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr const char* kTestServer = "Kelvary Window Test";

std::string BuiltProgram() { return ProgramPath(KELVARY_PROGRAM); }

// A copy of Kelvary.exe in such a folder, and a server
// in the real store so that start-up goes as far as the command line.
class KelvaryProcessTest : public Form1Test {
 protected:
  KelvaryProcessTest() {
    std::filesystem::create_directories(program_folder_);
    std::filesystem::copy_file(BuiltProgram(), program_folder_ / kProgramFileName);
    RegWriteText(*real_registry_, RegRoot::CurrentUser, ServerKeyPath(kTestServer), "Path",
                 DemoEssbasePath());
  }
  ~KelvaryProcessTest() override { RemoveKeyTree(*real_registry_, ServerKeyPath(kTestServer)); }

  std::string ProgramFolder() const { return PathText(program_folder_); }

  std::unique_ptr<RegistryBackend> real_registry_ = OpenUserRegistry();
  std::filesystem::path program_folder_ = folder_.path() / "Program Files" / std::filesystem::path(u8"Kelvary Жук");
};

TEST_F(KelvaryProcessTest, CommandLineArgumentBeatsTheRememberedApplication) {
  WriteWholeFile(program_folder_ / "Kelvary.ini", std::string(kTestServer) + ",SAMPLE\r\n");
  ProgramProcess kelvary(NewInstanceCommandLine(ProgramFolder(), "budget"));
  ASSERT_TRUE(kelvary.Started());
  HWND window = kelvary.WaitForWindow(form1::kClassName, form1::txtApp, kWindowTimeoutMs);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(window, form1::txtApp)), "budget");
  EXPECT_EQ(TextOf(GetDlgItem(window, form1::cboServers)), kTestServer);
  EXPECT_TRUE(kelvary.CloseAndWait(window, kWindowTimeoutMs));
  EXPECT_EQ(FileContent(program_folder_ / "Kelvary.ini"), std::string(kTestServer) + ",budget\r\n");
}

TEST_F(KelvaryProcessTest, OpenNewWindowStartsAnInstanceShowingTheApplication) {
  AddDemoServer();
  Reopen(ProgramFolder());
  SetAppText("sample app");
  SendMessageA(Control(form1::cmdNewWindow), BM_CLICK, 0, 0);
  // Any Form1 but this process's own.
  HWND second = PollForWindow(
      [] {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, form1::kClassName, nullptr))) {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner != GetCurrentProcessId() && GetDlgItem(window, form1::txtApp)) return window;
        }
        return window;
      },
      kWindowTimeoutMs);
  ASSERT_NE(second, nullptr);
  ProgramProcess instance(second);
  EXPECT_EQ(TextOf(GetDlgItem(second, form1::txtApp)), "sample app");
  EXPECT_TRUE(instance.CloseAndWait(second, kWindowTimeoutMs));
}

// The per-user Kelvary.ini of the test prefix, set aside for one test and
// put back after it.
class PerUserIniAside {
 public:
  PerUserIniAside() {
    std::filesystem::create_directories(folder_);
    if (std::filesystem::exists(path_)) std::filesystem::rename(path_, kept_);
  }
  ~PerUserIniAside() {
    std::filesystem::remove(path_);
    if (std::filesystem::exists(kept_)) std::filesystem::rename(kept_, path_);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path folder_ = PerUserDirectory();
  std::filesystem::path path_ = folder_ / "Kelvary.ini";
  std::filesystem::path kept_ = folder_ / "Kelvary.ini.kept-by-test";
};

// Installed where the user cannot write (Program Files), the choice made at
// the close is kept per-user and the next start shows it. Wine lets files be
// made in a folder with the read-only attribute (as Windows does) and lets
// this test's user, root, write a read-only file, so the file beside the
// program is held open by the test without sharing writes: it is read, and
// every write to it fails.
TEST_F(KelvaryProcessTest, ProgramsFolderThatCannotBeWrittenKeepsTheChoicePerUser) {
  PerUserIniAside per_user;
  const std::filesystem::path ini = program_folder_ / "Kelvary.ini";
  const std::string remembered = std::string(kTestServer) + ",SAMPLE\r\n";
  WriteWholeFile(ini, remembered);
  HANDLE held = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (const char* shown : {"SAMPLE", "budget"}) {
    ProgramProcess kelvary(NewInstanceCommandLine(ProgramFolder(), ""));
    ASSERT_TRUE(kelvary.Started());
    HWND window = kelvary.WaitForWindow(form1::kClassName, form1::txtApp, kWindowTimeoutMs);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(window, form1::txtApp)), shown);
    SendMessageA(GetDlgItem(window, form1::txtApp), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("budget"));
    EXPECT_TRUE(kelvary.CloseAndWait(window, kWindowTimeoutMs));
    EXPECT_EQ(FileContent(per_user.path()), std::string(kTestServer) + ",budget\r\n") << shown;
  }
  CloseHandle(held);
  EXPECT_EQ(FileContent(ini), remembered);
}

std::string Described(const std::optional<VersionRecord>& record) {
  if (!record) return "(none)";
  return std::to_string(record->major) + "." + std::to_string(record->minor) + "." +
         std::to_string(record->patch) + "." + std::to_string(record->build) + " " + record->product_name;
}

TEST(VersionRecordTest, ProgramCarriesItsFileVersionAndProductName) {
  EXPECT_EQ(Described(ReadVersionRecord(BuiltProgram())), "1.65.0.167 Kelvary");
}

TEST(VersionRecordTest, FileWithoutOneHasNone) {
  TempFolder folder;
  WriteWholeFile(folder.path() / "plain.txt", "1.65.0.167");
  EXPECT_EQ(Described(ReadVersionRecord((folder.path() / "plain.txt").string())), "(none)");
  EXPECT_EQ(Described(ReadVersionRecord((folder.path() / "missing.exe").string())), "(none)");
}

}  // namespace
}  // namespace kelvary::test
