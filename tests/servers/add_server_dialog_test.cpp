// frmAddServer opened from the main window: what it shows, what Add writes
// into the Windows registry and the main window's server box, and what
// Cancel, the close box and refused names leave alone.
#include "server_dialog_fixture.h"

#include <commctrl.h>
#include <imm.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "support/message_box_watcher_win32.h"

namespace kelvary::test {
namespace {

using namespace add_server;

const ControlCase kControls[] = {
    {Label1[0], "Static", "Name of Server:", {8, 12, 113, 17}},
    {txtName, "Edit", "", {128, 8, 169, 25}},
    {opt1[0], "Button", "", {0, 40, 17, 17}},
    {Frame1, "Button", "", {8, 40, 313, 89}},
    {Label1[1], "Static", "The physical path of the essbase directory:", {16, 64, 289, 17}},
    {Label1[2], "Static", "ie - d:\\essbase OR \\\\servername\\drive d\\essbase", {24, 80, 289, 17}},
    {txtPath, "Edit", "", {16, 96, 265, 25}},
    {cmdBrowse, "Button", "1", {288, 96, 25, 25}},
    {opt1[1], "Button", "", {0, 136, 17, 17}},
    {Frame2, "Button", "", {8, 136, 313, 113}},
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
  int MainBoxSelection() const {
    return static_cast<int>(SendMessageA(Control(form1::cboServers), CB_GETCURSEL, 0, 0));
  }
};

void ExpectDesignState(HWND dialog) {
  for (int box : {txtName, txtPath, txtDns, txtUserName, txtPassword}) {
    EXPECT_EQ(ItemText(dialog, box), "") << box;
  }
  EXPECT_FALSE(Checked(dialog, opt1[0]));
  EXPECT_TRUE(Checked(dialog, opt1[1]));
}

// ---- What the dialog shows --------------------------------------------------

TEST_F(AddServerDialogTest, IsAFixedToolWindowLaidOutAsDesignedAndCentredOverTheMainWindow) {
  MoveMainWindowTo(300, 300);
  WithAddDialog([this](HWND dialog) {
    ExpectLayout(dialog, kControls, {0, 0, 327, 289});
    ExpectFixedToolWindow(dialog, Window(), "Add a Server");
    ExpectCentredOver(dialog, Window());
    EXPECT_FALSE(IsWindowEnabled(Window()));
    EXPECT_EQ(GetActiveWindow(), dialog);
  });
  EXPECT_EQ(GetActiveWindow(), Window());

  // Taller than the main window: centred over one at the screen's top it
  // would stick out above the screen.
  MoveMainWindowTo(0, 0);
  WithAddDialog([this](HWND dialog) {
    RECT shown{};
    GetWindowRect(dialog, &shown);
    EXPECT_EQ(shown.top, 0);
    ExpectCentredOver(dialog, Window(), false);
  });
}

TEST_F(AddServerDialogTest, OpensEmptyWithRemoteAccessSelectedAndTheFocusOnTheNameEveryTime) {
  WithAddDialog([](HWND dialog) {
    ExpectDesignState(dialog);
    EXPECT_EQ(GetFocus(), Item(dialog, txtName));
    FillIn(dialog, DirectServer{"TEST", "e:\\essbase"});
    Press(dialog, cmdcancel);
  });
  WithAddDialog([](HWND dialog) {
    ExpectDesignState(dialog);
    FillIn(dialog, DirectServer{"PROD", "d:\\essbase"});
    Press(dialog, cmdAdd);
  });
  WithAddDialog(ExpectDesignState);
}

TEST_F(AddServerDialogTest, OneOptionIsSelectedAtATimeAndTabVisitsOnlyThatOne) {
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
    SetFocus(Item(dialog, txtName));
    ExpectTabOrder(dialog, {cmdAdd, cmdcancel, cmdBrowse, txtPath, txtDns, txtUserName, txtPassword, opt1[1], txtName});
    EXPECT_TRUE(Checked(dialog, opt1[1])) << "walking past the options changes no choice";
  });
}

// Each frame's caption is a label right of its option button, on the frame's
// top edge, wide enough for its whole text and no wider than the frame.
TEST_F(AddServerDialogTest, FrameCaptionsReadWholeRightOfTheirOptionButtonsAtEveryDpi) {
  struct CaptionCase {
    int option, frame, caption;
    const char* text;
  };
  const CaptionCase captions[] = {
      {opt1[0], Frame1, lblFrame1, "Used when you have access to the database log files:"},
      {opt1[1], Frame2, lblFrame2, "Used when you are connecting remotely"}};
  WithAddDialog([&](HWND dialog) {
    for (UINT dpi : {96u, 144u}) {
      RECT suggested{};
      GetWindowRect(dialog, &suggested);
      SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
      for (const CaptionCase& expected : captions) {
        HWND label = Item(dialog, expected.caption);
        const PixelRect option = ChildRect(Item(dialog, expected.option));
        const PixelRect frame = ChildRect(Item(dialog, expected.frame));
        const PixelRect at = ChildRect(label);
        EXPECT_EQ(TextOf(label), expected.text);
        EXPECT_GT(at.left, option.left + option.width) << dpi;
        EXPECT_EQ(at.top, frame.top) << dpi;
        EXPECT_LT(at.left + at.width, frame.left + frame.width) << dpi;
        HDC dc = GetDC(label);
        HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32A(dc, expected.text, lstrlenA(expected.text), &text);
        SelectObject(dc, old_font);
        ReleaseDC(label, dc);
        EXPECT_GE(at.width, text.cx) << dpi;
        EXPECT_LT(at.width, text.cx + 8 * static_cast<int>(dpi) / 96) << dpi;  // the frame's line shows on
      }
    }
  });
}

// The browse button's tooltip, held by a tooltip window of the dialog's.
TEST_F(AddServerDialogTest, BrowseButtonHasItsTooltip) {
  WithAddDialog([](HWND dialog) {
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != dialog) {
    }
    ASSERT_NE(tip, nullptr);
    char text[80] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(dialog, cmdBrowse));
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Browse for the Essbase directory");
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

// Browse shows a folder symbol, the password box masks with colons; both in
// Wingdings. The password box has no input method either.
TEST_F(AddServerDialogTest, ControlsUseTheDialogFontButBrowseAndThePasswordWingdings) {
  struct FontCase {
    int id;
    const char* face;
    LONG height;
  };
  const FontCase fonts[] = {{Label1[0], "MS Shell Dlg 2", -11}, {Label1[5], "MS Shell Dlg 2", -11},
                            {Frame1, "MS Shell Dlg 2", -11},    {txtName, "MS Shell Dlg 2", -11},
                            {cmdAdd, "MS Shell Dlg 2", -11},    {cmdBrowse, "Wingdings", -13},  // 9.75 points
                            {txtPassword, "Wingdings", -11}};
  WithAddDialog([&](HWND dialog) {
    for (const FontCase& expected : fonts) {
      const LOGFONTA font = FontOf(Item(dialog, expected.id));
      EXPECT_STREQ(font.lfFaceName, expected.face) << expected.id;
      EXPECT_EQ(font.lfHeight, expected.height) << expected.id;
    }
    EXPECT_EQ(FontOf(Item(dialog, cmdBrowse)).lfCharSet, SYMBOL_CHARSET);
    HWND password = Item(dialog, txtPassword);
    EXPECT_TRUE(GetWindowLongPtrA(password, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), ':');
    HIMC input_context = ImmGetContext(password);
    EXPECT_EQ(input_context, nullptr);
    if (input_context) ImmReleaseContext(password, input_context);
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

// ---- Browse -------------------------------------------------------------------

TEST_F(AddServerDialogTest, BrowsePutsThePickedFoldersFullPathIntoThePathBoxAndCancelLeavesIt) {
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
    {
      FolderPickerAnswer cancel("");
      Press(dialog, cmdBrowse);
    }
    EXPECT_EQ(ItemText(dialog, txtPath), folder.string());
    EXPECT_TRUE(IsWindow(dialog));
  });
}

// ---- Add ----------------------------------------------------------------------

struct PathCase {
  const char* typed;
  const char* stored;
};

const PathCase kPaths[] = {
    {"d:\\essbase\\", "d:\\essbase"},
    {"\\\\fs01\\drive d\\essbase\\\\", "\\\\fs01\\drive d\\essbase\\"},  // only one backslash goes
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

TEST_F(AddServerDialogTest, RemoteAccessWritesDnsUserNameTheTypedPasswordThenAccess1) {
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, RemoteServer{"East Coast", "ess01.corp.example", "admin", ""});
    // Typed key by key into the masked box: the text itself is stored.
    for (char typed : std::string("pa:ss word")) SendMessageA(Item(dialog, txtPassword), WM_CHAR, typed, 1);
    Press(dialog, cmdAdd);
  });
  EXPECT_EQ(Writes(), (Names{"set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(Stored("East Coast", kDnsValue), "ess01.corp.example");
  EXPECT_EQ(Stored("East Coast", kUserNameValue), "admin");
  EXPECT_EQ(Stored("East Coast", kPasswordValue), "pa:ss word");
  EXPECT_EQ(Stored("East Coast", kAccessValue), "1");
  EXPECT_EQ(Stored("East Coast", kPathValue), "(missing)");
}

// A name the box lists already gets a second entry; the store keeps one key
// per name, whatever its case, overwritten but for the other kind's values.
TEST_F(AddServerDialogTest, EachAddAppendsAndSelectsABoxEntryWhileTheStoreKeepsOneKeyPerName) {
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "PROD");

  AddThroughDialog(RemoteServer{"PROD", "ess02", "qa", "pw"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD", "PROD"}));
  EXPECT_EQ(MainBoxSelection(), 2);  // the new entry
  EXPECT_EQ(Stored("PROD", kAccessValue), "1");
  EXPECT_EQ(Stored("PROD", kDnsValue), "ess02");
  EXPECT_EQ(Stored("PROD", kPathValue), "d:\\essbase");

  AddThroughDialog(DirectServer{"dev", "d:\\dev"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD", "PROD", "dev"}));
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(Stored("DEV", kPathValue), "d:\\dev");
}

// ---- Leaving without adding ---------------------------------------------------

// No button is the default: Enter presses the button that has the focus and
// nothing else.
TEST_F(AddServerDialogTest, CancelTheCloseBoxAndEnterOnCancelWriteNothingAndLeaveTheMainBox) {
  const std::pair<const char*, void (*)(HWND)> ways_out[] = {
      {"Cancel", [](HWND dialog) { Press(dialog, cmdcancel); }},
      {"close box", [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Enter", [](HWND dialog) {
         SetFocus(Item(dialog, txtName));
         PressDialogKey(dialog, VK_RETURN);
         EXPECT_TRUE(IsWindow(dialog)) << "Enter in a box presses no button";
         SetFocus(Item(dialog, cmdcancel));
         PressDialogKey(dialog, VK_RETURN);
       }}};
  for (const auto& [way, leave] : ways_out) {
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, RemoteServer{"PROD", "ess01", "admin", "pw"});
      leave(dialog);
      EXPECT_FALSE(IsWindow(dialog)) << way;
    });
    EXPECT_EQ(Writes(), Names{}) << way;
    EXPECT_EQ(StoredServers(), Names{"DEV"});
    EXPECT_EQ(MainBox(), Names{"DEV"});
    EXPECT_EQ(ServerText(), "DEV");
  }
}

TEST_F(AddServerDialogTest, RefusedNamesShowWhyWriteNothingAndKeepTheDialogOpen) {
  for (const char* name : {"", "prod\\east", "PROD\\", "a/b", ".."}) {
    std::vector<SeenMessageBox> seen;
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, DirectServer{name, "d:\\essbase"});
      {
        MessageBoxWatcher watcher;
        Press(dialog, cmdAdd);
        seen = watcher.Seen();
      }
      EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open for another name";
      EXPECT_EQ(ItemText(dialog, txtName), name);
    });
    ASSERT_EQ(seen.size(), 1u) << name;
    EXPECT_EQ(seen[0].title, "Kelvary");
    EXPECT_EQ(seen[0].text, std::string(kServerNameRefusal));
    EXPECT_TRUE(seen[0].error_icon);
    EXPECT_EQ(Writes(), Names{}) << name;
    EXPECT_EQ(StoredServers(), Names{"DEV"});
    EXPECT_EQ(RegReadText(*wine_registry_, RegRoot::CurrentUser, strServersKey, kAccessValue, "(missing)"),
              "(missing)");
    EXPECT_EQ(MainBox(), Names{"DEV"});
  }
}

}  // namespace
}  // namespace kelvary::test
