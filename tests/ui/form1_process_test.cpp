// Kelvary.exe itself, as a process of its own: the version it carries, the
// command line it starts with, and the second instance Open New Window
// starts from a folder whose path has blanks in it. These use the Windows
// registry of the test prefix, with a server of their own.
#include <filesystem>

#include "form1_fixture.h"
#include "support/program_process_win32.h"
#include "support/registry_test_helpers.h"
#include "ui/command_line.h"

namespace kelvary::test {
namespace {

constexpr DWORD kWindowTimeoutMs = 20000;
constexpr const char* kTestServer = "Kelvary Window Test";

std::string BuiltProgram() { return ProgramPath(KELVARY_PROGRAM); }

// A copy of Kelvary.exe in a folder with blanks in its path, and a server
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

  std::string ProgramFolder() const { return program_folder_.string(); }

  std::unique_ptr<RegistryBackend> real_registry_ = OpenUserRegistry();
  std::filesystem::path program_folder_ = folder_.path() / "Program Files" / "Kelvary Test";
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
  HWND second = PollForWindow(
      [] {
        HWND found = nullptr;
        // Any Form1 but this process's own.
        EnumWindows(
            [](HWND window, LPARAM found_address) -> BOOL {
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (owner == GetCurrentProcessId() || ClassNameOf(window) != form1::kClassName ||
                  !GetDlgItem(window, form1::txtApp)) {
                return TRUE;
              }
              *reinterpret_cast<HWND*>(found_address) = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
      },
      kWindowTimeoutMs);
  ASSERT_NE(second, nullptr);
  ProgramProcess instance(second);
  EXPECT_EQ(TextOf(GetDlgItem(second, form1::txtApp)), "sample app");
  EXPECT_TRUE(instance.CloseAndWait(second, kWindowTimeoutMs));
}

TEST(KelvaryVersionTest, ProgramCarriesItsFileVersionAndProductName) {
  const std::string program = BuiltProgram();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 65);
  EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 0);
  EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 167);
  char* product = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904b0\\ProductName",
                             reinterpret_cast<void**>(&product), &length));
  EXPECT_STREQ(product, "Kelvary");
}

}  // namespace
}  // namespace kelvary::test
