// Kelvary.exe itself, as a process of its own: the version record it
// carries, and, started from a folder whose path has blanks and letters
// outside the system code page in it (a user profile named after its owner),
// its settings file there and the second instance Open New Window starts,
// with a server of its own in the Windows registry of the test prefix.
#include <filesystem>

#include "form1_fixture.h"
#include "support/program_process_win32.h"
#include "support/registry_test_helpers.h"
#include "ui/command_line.h"
#include "ui/version_record_win32.h"

namespace kelvary::test {
namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr const char* kTestServer = "Kelvary Window Test";

std::string BuiltProgram() { return ProgramPath(KELVARY_PROGRAM); }

// A copy of Kelvary.exe in such a folder, and a server in the real store so
// that start-up goes as far as the command line.
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

// The settings file beside a program in such a folder is read (the server)
// and written on close (the application the command line named).
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

TEST(VersionRecordTest, ProgramCarriesItsFileVersionAndProductName) {
  const std::optional<VersionRecord> record = ReadVersionRecord(BuiltProgram());
  ASSERT_TRUE(record);
  EXPECT_EQ(std::vector<unsigned>({record->major, record->minor, record->patch, record->build}),
            std::vector<unsigned>({1, 65, 0, 167}));
  EXPECT_EQ(record->product_name, "Kelvary");
  EXPECT_FALSE(ReadVersionRecord(ProgramPath(KELVARY_SOURCE_DIR "/README.md"))) << "a file without one has none";
}

}  // namespace
}  // namespace kelvary::test
