// Opening and closing Form1: what start-up takes from the store, the
// settings file and the command line, and the settings file every way of
// closing leaves behind.
#include "form1_fixture.h"

namespace kelvary::test {
namespace {

constexpr const char* kFallbackIni = "C:\\Windows\\Kelvary.ini";

class Form1LifecycleTest : public Form1Test {
 protected:
  void AddDemoAndProd() {
    AddDemoServer();
    AddServer("Prod", "\\\\essbase01\\Hyperion\\Essbase");
  }
};

TEST_F(Form1LifecycleTest, EmptyStoreShowsEmptyBoxesAndLeavesTheFileUntilClosing) {
  argument_tail_ = "BUDGET";
  Open();
  EXPECT_TRUE(ComboBoxItems(Control(form1::cboServers)).empty());
  EXPECT_EQ(AppText(), "");
  EXPECT_FALSE(std::filesystem::exists(IniPath()));
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Ini(), ", \r\n");
}

TEST_F(Form1LifecycleTest, FirstStartCreatesTheFileAndSelectsTheFirstServer) {
  AddDemoAndProd();
  Open();
  EXPECT_EQ(ComboBoxItems(Control(form1::cboServers)), (std::vector<std::string>{"Demo", "Prod"}));
  EXPECT_EQ(ServerText(), "Demo");
  EXPECT_EQ(AppText(), "");
  EXPECT_EQ(Ini(), " , \r\n");
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Ini(), "Demo, \r\n");  // an empty application is written as a blank
}

TEST_F(Form1LifecycleTest, CommandLineArgumentBeatsTheRememberedApplicationAndRunsNoCheck) {
  AddDemoAndProd();
  WriteWholeFile(IniPath(), "Prod,SAMPLE\r\n");
  argument_tail_ = "budget";
  Open();
  EXPECT_EQ(AppText(), "budget");
  EXPECT_EQ(ServerText(), "Prod");
  EXPECT_TRUE(Report().empty());
}

struct CloseCase {
  const char* how;
  void (*close)(HWND window);
};

class Form1ClosingTest : public Form1LifecycleTest,
                         public ::testing::WithParamInterface<CloseCase> {};

TEST_P(Form1ClosingTest, WritesServerCommaApplicationAndEndsTheProgram) {
  AddDemoAndProd();
  Open();
  SelectServer("Prod");
  SetAppText("Budget");
  GetParam().close(Window());
  Pump();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(Ini(), "Prod,Budget\r\n");
  EXPECT_TRUE(QuitPosted());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, Form1ClosingTest,
    ::testing::Values(
        CloseCase{"CloseButton", [](HWND w) { SendMessageA(GetDlgItem(w, form1::cmdExit), BM_CLICK, 0, 0); }},
        CloseCase{"Esc",
                  [](HWND w) {
                    SetFocus(GetDlgItem(w, form1::txtApp));
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
                  }},
        CloseCase{"CloseBox", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseCase{"SessionEnds",
                  [](HWND w) {
                    if (SendMessageA(w, WM_QUERYENDSESSION, 0, 0)) SendMessageA(w, WM_ENDSESSION, TRUE, 0);
                  }}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.how); });

TEST_F(Form1LifecycleTest, CancelledSessionEndKeepsTheWindowAndTheFile) {
  AddDemoServer();
  Open();
  SendMessageA(Window(), WM_ENDSESSION, FALSE, 0);
  EXPECT_NE(Window(), nullptr);
  EXPECT_EQ(Ini(), " , \r\n");
}

class Form1FallbackTest : public Form1LifecycleTest {
 protected:
  Form1FallbackTest() { DeleteFileA(kFallbackIni); }
  ~Form1FallbackTest() override {
    CloseAndForget();
    DeleteFileA(kFallbackIni);
  }
};

TEST_F(Form1FallbackTest, MissingFolderMovesTheFileToWindowsForTheWholeRun) {
  AddDemoServer();
  OpenIn((folder_.path() / "missing folder").string());
  EXPECT_EQ(form_->settings_file().strIniPathAndFile(), kFallbackIni);
  EXPECT_EQ(FileContent(kFallbackIni), " , \r\n");
  SetAppText("sample");
  SendMessageA(Control(form1::cmdOK), BM_CLICK, 0, 0);
  EXPECT_EQ(FileContent(kFallbackIni), "Demo,SAMPLE\r\n");
  SetAppText("BUDGET");
  SendMessageA(Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FileContent(kFallbackIni), "Demo,BUDGET\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "missing folder"));
}

}  // namespace
}  // namespace kelvary::test
