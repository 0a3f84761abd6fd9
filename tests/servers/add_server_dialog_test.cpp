// frmAddServer opened from the main window: what it shows, what Add writes
// into the Windows registry and the main window's server box, and what
// Cancel, the close box and refused names leave alone.
#include "server_dialog_fixture.h"

#include <imm.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "support/message_box_watcher_win32.h"

namespace kelvary::test {
namespace {

using namespace add_server;

struct ControlCase {
  int id;
  const char* window_class;
  const char* caption;
  PixelRect at_96_dpi;  // twips / 15, in the dialog's client area
};

const ControlCase kControls[] = {
    {Label1[0], "Static", "Name of Server:", {8, 12, 113, 17}},
    {txtName, "Edit", "", {128, 8, 169, 25}},
    {opt1[0], "Button", "", {0, 40, 17, 17}},
    {Frame1, "Button", "Used when you have access to the database log files:", {8, 40, 313, 89}},
    {Label1[1], "Static", "The physical path of the essbase directory:", {16, 64, 289, 17}},
    {Label1[2], "Static", "ie - d:\\essbase OR \\\\servername\\drive d\\essbase", {24, 80, 289, 17}},
    {txtPath, "Edit", "", {16, 96, 265, 25}},
    {cmdBrowse, "Button", "1", {288, 96, 25, 25}},
    {opt1[1], "Button", "", {0, 136, 17, 17}},
    {Frame2, "Button", "Used when you are connecting remotely", {8, 136, 313, 113}},
    {Label1[3], "Static", "DNS or IP:", {16, 160, 113, 17}},
    {txtDns, "Edit", "", {80, 160, 233, 19}},
    {Label1[4], "Static", "User Name:", {16, 192, 113, 17}},
    {txtUserName, "Edit", "", {80, 192, 233, 19}},
    {Label1[5], "Static", "Password:", {16, 224, 113, 17}},
    {txtPassword, "Edit", "", {80, 224, 233, 19}},
    {cmdcancel, "Button", "Cancel", {16, 256, 81, 25}},
    {cmdAdd, "Button", "Add", {208, 256, 89, 25}},
};

// Answers the shell's folder picker from a thread of its own, as a user
// would: types a folder into its name box and presses Open, or presses
// Cancel. Only posted messages go to the picker, which may be busy when a
// sent one arrives.
class FolderPickerAnswer {
 public:
  static constexpr const char* kPickerClass = "#32770";
  static constexpr int kNameBox = 1152;  // edt1 of the common file dialogs
  static constexpr DWORD kTimeoutMs = 20000;

  // An empty `folder` cancels.
  explicit FolderPickerAnswer(std::string folder)
      : folder_(std::move(folder)), thread_([this] { Answer(); }) {}
  ~FolderPickerAnswer() { thread_.join(); }

  HWND PickerOwner() const { return owner_; }

 private:
  // Waits for the picker to be up with its name box, then answers, again
  // and again until it has closed: an answer that arrives while the picker
  // is still setting itself up is lost. Gives up by cancelling, so that a
  // picker that never takes the answer fails the test instead of hanging it.
  void Answer() {
    HWND picker = nullptr;
    HWND name_box = nullptr;
    for (DWORD waited = 0; !name_box && waited < kTimeoutMs; waited += kPollMs) {
      Sleep(kPollMs);
      picker = FindProcessWindow(kPickerClass, GetCurrentProcessId());
      if (picker && IsWindowVisible(picker)) name_box = GetDlgItem(picker, kNameBox);
    }
    if (!name_box) return;
    owner_ = GetWindow(picker, GW_OWNER);
    for (DWORD waited = 0; IsWindow(picker) && waited < kTimeoutMs; waited += kRetryMs) {
      if (folder_.empty()) {
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
      } else {
        SendMessageA(name_box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder_.c_str()));
        PostMessageA(picker, WM_COMMAND, IDOK, 0);
      }
      Sleep(kRetryMs);
    }
    if (IsWindow(picker)) PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
  }

  static constexpr DWORD kPollMs = 20;
  static constexpr DWORD kRetryMs = 500;
  const std::string folder_;
  std::atomic<HWND> owner_{nullptr};
  std::thread thread_;
};

class AddServerDialogTest : public ServerDialogTest {
 protected:
  void SetUp() override {
    StoreServer("DEV");
    Open();
  }
};

// ---- What the dialog shows --------------------------------------------------

TEST_F(AddServerDialogTest, ControlsHaveTheirClassCaptionAndPlaceAt96Dpi) {
  WithAddDialog([](HWND dialog) {
    for (const ControlCase& expected : kControls) {
      HWND control = Item(dialog, expected.id);
      ASSERT_NE(control, nullptr) << expected.caption;
      EXPECT_EQ(lstrcmpiA(ClassNameOf(control).c_str(), expected.window_class), 0)
          << ClassNameOf(control) << " for " << expected.caption;
      EXPECT_EQ(TextOf(control), expected.caption);
      EXPECT_EQ(ChildRect(control), expected.at_96_dpi) << expected.caption;
    }
    EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 327, 289}));
  });
}

TEST_F(AddServerDialogTest, IsAFixedToolWindowCaptionedAddAServerOwnedByTheMainWindow) {
  WithAddDialog([this](HWND dialog) {
    const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
    const LONG_PTR ex_style = GetWindowLongPtrA(dialog, GWL_EXSTYLE);
    EXPECT_EQ(TextOf(dialog), "Add a Server");
    EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);  // small title bar, no taskbar button
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), Window());
  });
}

TEST_F(AddServerDialogTest, OpensCentredOverTheMainWindowWhichTakesNoInputMeanwhile) {
  MoveMainWindowTo(300, 300);
  WithAddDialog([this](HWND dialog) {
    RECT over{}, shown{};
    GetWindowRect(Window(), &over);
    GetWindowRect(dialog, &shown);
    EXPECT_NEAR(shown.left + shown.right, over.left + over.right, 1);
    EXPECT_NEAR(shown.top + shown.bottom, over.top + over.bottom, 1);
    EXPECT_FALSE(IsWindowEnabled(Window()));
    EXPECT_EQ(GetActiveWindow(), dialog);
  });
  EXPECT_TRUE(IsWindowEnabled(Window()));
  EXPECT_EQ(GetActiveWindow(), Window());
}

// The dialog is taller than the main window: centred over a main window at
// the screen's top it would stick out above the screen.
TEST_F(AddServerDialogTest, OverAMainWindowAtTheScreensTopItStaysOnTheScreen) {
  MoveMainWindowTo(0, 0);
  WithAddDialog([this](HWND dialog) {
    RECT over{}, shown{};
    GetWindowRect(Window(), &over);
    GetWindowRect(dialog, &shown);
    EXPECT_EQ(shown.top, 0);
    EXPECT_NEAR(shown.left + shown.right, over.left + over.right, 1);
  });
}

TEST_F(AddServerDialogTest, StartsEmptyWithRemoteAccessSelectedAndTheFocusOnTheName) {
  WithAddDialog([](HWND dialog) {
    for (int box : {txtName, txtPath, txtDns, txtUserName, txtPassword}) {
      EXPECT_EQ(ItemText(dialog, box), "") << box;
    }
    EXPECT_FALSE(Checked(dialog, opt1[0]));
    EXPECT_TRUE(Checked(dialog, opt1[1]));
    EXPECT_EQ(GetFocus(), Item(dialog, txtName));
  });
}

TEST_F(AddServerDialogTest, TheOptionsFormOneGroupOfWhichOneIsSelected) {
  WithAddDialog([](HWND dialog) {
    Press(dialog, opt1[0]);
    EXPECT_TRUE(Checked(dialog, opt1[0]));
    EXPECT_FALSE(Checked(dialog, opt1[1]));
    Press(dialog, opt1[1]);
    EXPECT_FALSE(Checked(dialog, opt1[0]));
    EXPECT_TRUE(Checked(dialog, opt1[1]));
    // Choosing enables, disables or hides nothing.
    for (int box : {txtPath, cmdBrowse, txtDns, txtUserName, txtPassword}) {
      EXPECT_TRUE(IsWindowEnabled(Item(dialog, box)) && IsWindowVisible(Item(dialog, box))) << box;
    }
  });
}

TEST_F(AddServerDialogTest, TabWalksTheBoxesButtonsAndTheSelectedOption) {
  WithAddDialog([](HWND dialog) {
    const int order[] = {cmdAdd, cmdcancel, cmdBrowse, txtPath, txtDns, txtUserName, txtPassword,
                         opt1[1], txtName};
    for (int expected : order) {
      PressDialogKey(dialog, VK_TAB);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), expected);
    }
    EXPECT_TRUE(Checked(dialog, opt1[1])) << "walking past the options changes no choice";
  });
}

// Each label of the remote frame reaches under its box; painted, the box
// stays whole where the label overlaps it.
TEST_F(AddServerDialogTest, LabelsNeverPaintOverTheBoxesTheyReachUnder) {
  WithAddDialog([](HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC screen = GetDC(dialog);
    for (int box : {txtDns, txtUserName, txtPassword}) {
      const PixelRect at = ChildRect(Item(dialog, box));
      // Inside the box, left of the label's right edge.
      EXPECT_EQ(GetPixel(screen, at.left + 4, at.top + at.height / 2), GetSysColor(COLOR_WINDOW)) << box;
    }
    ReleaseDC(dialog, screen);
  });
}

TEST_F(AddServerDialogTest, LabelsAndFramesUseTheDialogFont) {
  WithAddDialog([](HWND dialog) {
    for (int id : {Label1[0], Label1[5], Frame1, txtName, cmdAdd}) {
      const LOGFONTA font = FontOf(Item(dialog, id));
      EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg 2") << id;
      EXPECT_EQ(font.lfHeight, -11) << id;
    }
  });
}

TEST_F(AddServerDialogTest, BrowseShowsAFolderInWingdingsAt9Point75) {
  WithAddDialog([](HWND dialog) {
    const LOGFONTA font = FontOf(Item(dialog, cmdBrowse));
    EXPECT_STREQ(font.lfFaceName, "Wingdings");
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfCharSet, SYMBOL_CHARSET);
  });
}

TEST_F(AddServerDialogTest, PasswordBoxMasksWithWingdingsColonAndHasNoInputMethod) {
  WithAddDialog([](HWND dialog) {
    HWND box = Item(dialog, txtPassword);
    EXPECT_TRUE(GetWindowLongPtrA(box, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(SendMessageA(box, EM_GETPASSWORDCHAR, 0, 0), ':');
    const LOGFONTA font = FontOf(box);
    EXPECT_STREQ(font.lfFaceName, "Wingdings");
    EXPECT_EQ(font.lfHeight, -11);
    HIMC input_context = ImmGetContext(box);
    EXPECT_EQ(input_context, nullptr);
    if (input_context) ImmReleaseContext(box, input_context);
  });
}

TEST_F(AddServerDialogTest, MovingTo150PercentLaysOutControlsAndFontsAgain) {
  WithAddDialog([](HWND dialog) {
    RECT suggested{};
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    // Twips / 10 at 144 DPI.
    EXPECT_EQ(ChildRect(Item(dialog, cmdBrowse)), (PixelRect{432, 144, 38, 38}));
    EXPECT_EQ(ChildRect(Item(dialog, txtPassword)), (PixelRect{120, 336, 350, 29}));
    EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 491, 434}));
    EXPECT_EQ(FontOf(Item(dialog, cmdBrowse)).lfHeight, -20);  // 19.5
    EXPECT_STREQ(FontOf(Item(dialog, cmdBrowse)).lfFaceName, "Wingdings");
    EXPECT_EQ(FontOf(Item(dialog, txtPassword)).lfHeight, -17);  // 16.5
    EXPECT_EQ(FontOf(Item(dialog, Label1[3])).lfHeight, -16);
  });
}

// No button is the default: Enter presses the button that has the focus and
// nothing else.
TEST_F(AddServerDialogTest, EnterPressesOnlyTheFocusedButton) {
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, DirectServer{"PROD", "d:\\essbase"});
    SetFocus(Item(dialog, txtName));
    PressDialogKey(dialog, VK_RETURN);
    EXPECT_TRUE(IsWindow(dialog));
    SetFocus(Item(dialog, cmdcancel));
    PressDialogKey(dialog, VK_RETURN);
    EXPECT_FALSE(IsWindow(dialog));
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(MainBox(), Names{"DEV"});
}

// ---- Browse -------------------------------------------------------------------

TEST_F(AddServerDialogTest, BrowsePutsThePickedFoldersFullPathIntoThePathBox) {
  const std::filesystem::path folder = folder_.path() / "essbase home";
  std::filesystem::create_directories(folder);
  WithAddDialog([&](HWND dialog) {
    Type(dialog, txtPath, "d:\\old");
    HWND picker_owner = nullptr;
    {
      FolderPickerAnswer answer(folder.string());
      Press(dialog, cmdBrowse);
      picker_owner = answer.PickerOwner();
    }
    EXPECT_EQ(picker_owner, dialog);
    EXPECT_EQ(ItemText(dialog, txtPath), folder.string());
    Press(dialog, cmdcancel);
  });
}

TEST_F(AddServerDialogTest, CancellingThePickerLeavesThePathAsItWas) {
  WithAddDialog([](HWND dialog) {
    Type(dialog, txtPath, "d:\\essbase");
    {
      FolderPickerAnswer cancel("");
      Press(dialog, cmdBrowse);
    }
    EXPECT_EQ(ItemText(dialog, txtPath), "d:\\essbase");
    EXPECT_TRUE(IsWindow(dialog));
    Press(dialog, cmdcancel);
  });
}

// ---- Add ----------------------------------------------------------------------

struct PathCase {
  const char* typed;
  const char* stored;
};

const PathCase kPaths[] = {
    {"d:\\essbase\\", "d:\\essbase"},
    {"d:\\essbase\\\\", "d:\\essbase\\"},  // only one backslash goes
    {"d:\\essbase", "d:\\essbase"},
    {"\\\\fs01\\drive d\\essbase\\", "\\\\fs01\\drive d\\essbase"},
    {"", ""},
};

TEST_F(AddServerDialogTest, DirectAccessWritesPathLessOneTrailingBackslashThenAccess0) {
  for (const PathCase& path : kPaths) {
    AddThroughDialog(DirectServer{"PROD", path.typed});
    EXPECT_EQ(Writes(), (Names{"set Path", "set Access"})) << path.typed;
    EXPECT_EQ(Stored("PROD", kPathValue), path.stored) << path.typed;
    EXPECT_EQ(Stored("PROD", kAccessValue), "0");
  }
  EXPECT_EQ(Stored("PROD", kDnsValue), "(missing)");
}

TEST_F(AddServerDialogTest, RemoteAccessWritesDnsUserNamePasswordThenAccess1) {
  AddThroughDialog(RemoteServer{"East Coast", "ess01.corp.example", "admin", "pa:ss word"});
  EXPECT_EQ(Writes(), (Names{"set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(Stored("East Coast", kDnsValue), "ess01.corp.example");
  EXPECT_EQ(Stored("East Coast", kUserNameValue), "admin");
  EXPECT_EQ(Stored("East Coast", kPasswordValue), "pa:ss word");
  EXPECT_EQ(Stored("East Coast", kAccessValue), "1");
  EXPECT_EQ(Stored("East Coast", kPathValue), "(missing)");
}

TEST_F(AddServerDialogTest, TheTypedPasswordIsStoredNotItsMask) {
  WithAddDialog([](HWND dialog) {
    Type(dialog, txtName, "PROD");
    for (char typed : std::string("s3cr3t!")) SendMessageA(Item(dialog, txtPassword), WM_CHAR, typed, 1);
    Press(dialog, cmdAdd);
  });
  EXPECT_EQ(Stored("PROD", kPasswordValue), "s3cr3t!");
}

TEST_F(AddServerDialogTest, AddingRemoteAccessLaterKeepsTheEarlierPath) {
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  AddThroughDialog(RemoteServer{"PROD", "ess01", "admin", "pw"});
  EXPECT_EQ(Stored("PROD", kPathValue), "d:\\essbase");
  EXPECT_EQ(Stored("PROD", kAccessValue), "1");
}

TEST_F(AddServerDialogTest, TheNewNameIsAddedToTheMainBoxAndSelected) {
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "PROD");
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD"}));
}

TEST_F(AddServerDialogTest, ReAddingAListedNameAddsASecondEntryButTheStoreKeepsOneKey) {
  AddThroughDialog(RemoteServer{"DEV", "ess02", "qa", "pw"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "DEV"}));
  EXPECT_EQ(MainBoxSelection(), 1);  // the new entry
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(Stored("DEV", kAccessValue), "1");  // overwritten
  EXPECT_EQ(Stored("DEV", kDnsValue), "ess02");
}

TEST_F(AddServerDialogTest, ANameDifferingOnlyInCaseWritesIntoTheExistingKey) {
  AddThroughDialog(DirectServer{"dev", "d:\\dev"});
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(Stored("DEV", kPathValue), "d:\\dev");
  EXPECT_EQ(MainBox(), (Names{"DEV", "dev"}));
}

// ---- Cancel, the close box, reopening -------------------------------------------

TEST_F(AddServerDialogTest, CancelWritesNothingAndLeavesTheMainBox) {
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, DirectServer{"PROD", "d:\\essbase"});
    Press(dialog, cmdcancel);
    EXPECT_FALSE(IsWindow(dialog));
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), Names{"DEV"});
  EXPECT_EQ(ServerText(), "DEV");
}

TEST_F(AddServerDialogTest, TheCloseBoxWritesNothingAndLeavesTheMainBox) {
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, RemoteServer{"PROD", "ess01", "admin", "pw"});
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(dialog));
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), Names{"DEV"});
}

TEST_F(AddServerDialogTest, ReopeningStartsFromTheDesignStateAgain) {
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, DirectServer{"TEST", "e:\\essbase"});
    Press(dialog, cmdcancel);
  });
  WithAddDialog([](HWND dialog) {
    for (int box : {txtName, txtPath, txtDns, txtUserName, txtPassword}) {
      EXPECT_EQ(ItemText(dialog, box), "") << box;
    }
    EXPECT_TRUE(Checked(dialog, opt1[1]));
    EXPECT_FALSE(Checked(dialog, opt1[0]));
  });
}

// ---- Refused names ----------------------------------------------------------------

struct RefusedCase {
  const char* name;
  bool direct_access;
};

const RefusedCase kRefused[] = {
    {"", true}, {"", false}, {"prod\\east", true}, {"PROD\\", false}, {"\\", true},
};

TEST_F(AddServerDialogTest, RefusedNamesShowWhyWriteNothingAndKeepTheDialogOpen) {
  for (const RefusedCase& refused : kRefused) {
    std::vector<SeenMessageBox> seen;
    WithAddDialog([&](HWND dialog) {
      if (refused.direct_access) {
        FillIn(dialog, DirectServer{refused.name, "d:\\essbase"});
      } else {
        FillIn(dialog, RemoteServer{refused.name, "ess01", "admin", "pw"});
      }
      {
        MessageBoxWatcher watcher;
        Press(dialog, cmdAdd);
        seen = watcher.Seen();
      }
      EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open for another name";
      EXPECT_EQ(ItemText(dialog, txtName), refused.name);
      Press(dialog, cmdcancel);
    });
    ASSERT_EQ(seen.size(), 1u) << refused.name;
    EXPECT_EQ(seen[0].title, "Kelvary");
    EXPECT_EQ(seen[0].text, "A server name must not be empty or contain a backslash (\\).");
    EXPECT_TRUE(seen[0].error_icon);
    EXPECT_EQ(Writes(), Names{}) << refused.name;
    EXPECT_EQ(StoredServers(), Names{"DEV"});
    EXPECT_EQ(RegReadText(*wine_registry_, RegRoot::CurrentUser, strServersKey, kAccessValue, "(missing)"),
              "(missing)");
    EXPECT_EQ(MainBox(), Names{"DEV"});
  }
}

}  // namespace
}  // namespace kelvary::test
