// frmAddServer opened from the main window: what it shows at two DPIs, what
// Add writes into the Windows registry and the main window's server box, and
// what Cancel, the close box and refused names leave alone.
#include "server_dialog_fixture.h"

#include <commctrl.h>
#include <imm.h>

#include "support/message_box_watcher_win32.h"

namespace kelvary::test {
namespace {

using namespace add_server;

const ExpectedControl kControls[] = {
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

class AddServerDialogTest : public ServerDialogTest {
 protected:
  void SetUp() override {
    StoreServer("DEV");
    Open();
  }
};

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// Each opening starts empty with remote access chosen and the focus on the
// name; one option is chosen at a time and Tab visits only that one.
TEST_F(AddServerDialogTest, IsAModalToolWindowLaidOutAsDesignedThatOpensEmptyEveryTime) {
  MoveMainWindowTo(300, 300);
  for (int opening = 0; opening < 2; ++opening) {
    WithAddDialog([this](HWND dialog) {
      ExpectControls(dialog, kControls);
      EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 327, 289}));
      ExpectModalToolWindowOver(dialog, Window(), "Add a Server");
      EXPECT_TRUE(Checked(dialog, opt1[1]));
      EXPECT_EQ(GetFocus(), Item(dialog, txtName));
      FillIn(dialog, DirectServer{"TEST", "e:\\essbase"});
      EXPECT_FALSE(Checked(dialog, opt1[1]));
      Press(dialog, opt1[1]);
      EXPECT_FALSE(Checked(dialog, opt1[0]));
      SetFocus(Item(dialog, txtName));
      ExpectTabOrder(dialog, {cmdAdd, cmdcancel, cmdBrowse, txtPath, txtDns, txtUserName, txtPassword, opt1[1], txtName});
      Press(dialog, cmdcancel);
    });
  }
  EXPECT_EQ(GetActiveWindow(), Window());
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

// Browse shows a folder symbol and the password box masks with colons, both
// in Wingdings, at every DPI; the password box has no input method.
TEST_F(AddServerDialogTest, MovingTo150PercentLaysOutControlsAndFontsAgain) {
  WithAddDialog([](HWND dialog) {
    EXPECT_STREQ(FontOf(Item(dialog, cmdBrowse)).lfFaceName, "Wingdings");
    EXPECT_EQ(FontOf(Item(dialog, cmdBrowse)).lfHeight, -13);  // 9.75 points
    EXPECT_EQ(SendMessageA(Item(dialog, txtPassword), EM_GETPASSWORDCHAR, 0, 0), ':');
    EXPECT_EQ(ImmGetContext(Item(dialog, txtPassword)), nullptr);
    RECT suggested{};
    GetWindowRect(dialog, &suggested);
    SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    // Twips / 10 at 144 DPI.
    EXPECT_EQ(ChildRect(Item(dialog, cmdBrowse)), (PixelRect{432, 144, 38, 38}));
    EXPECT_EQ(ChildRect(Item(dialog, txtPassword)), (PixelRect{120, 336, 350, 29}));
    EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 491, 434}));
    EXPECT_EQ(FontOf(Item(dialog, cmdBrowse)).lfHeight, -20);  // 19.5
    EXPECT_STREQ(FontOf(Item(dialog, txtPassword)).lfFaceName, "Wingdings");
    EXPECT_EQ(FontOf(Item(dialog, Label1[3])).lfHeight, -16);
  });
}

// Path less one trailing backslash, then Access; or DNS, user name, the
// password as typed key by key into the masked box, then Access.
TEST_F(AddServerDialogTest, AddWritesTheKindsValuesThenAccess) {
  AddThroughDialog(DirectServer{"PROD", "\\\\fs01\\drive d\\essbase\\\\"});
  EXPECT_EQ(Writes(), (Names{"set Path", "set Access"}));
  EXPECT_EQ(Stored("PROD", kPathValue), "\\\\fs01\\drive d\\essbase\\");
  EXPECT_EQ(Stored("PROD", kAccessValue), "0");
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, RemoteServer{"East Coast", "ess01.corp.example", "admin", ""});
    for (char typed : std::string("pa:ss word")) SendMessageA(Item(dialog, txtPassword), WM_CHAR, typed, 1);
    Press(dialog, cmdAdd);
    EXPECT_FALSE(IsWindow(dialog)) << "Add closes the dialog";
  });
  EXPECT_EQ(Writes(), (Names{"set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(Stored("East Coast", kDnsValue), "ess01.corp.example");
  EXPECT_EQ(Stored("East Coast", kUserNameValue), "admin");
  EXPECT_EQ(Stored("East Coast", kPasswordValue), "pa:ss word");
  EXPECT_EQ(Stored("East Coast", kAccessValue), "1");
}

// A name the box lists already gets a second entry; the store keeps one key
// per name, whatever its case, overwritten but for the other kind's values.
TEST_F(AddServerDialogTest, EachAddAppendsAndSelectsABoxEntryWhileTheStoreKeepsOneKeyPerName) {
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  AddThroughDialog(RemoteServer{"PROD", "ess02", "qa", "pw"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD", "PROD"}));
  EXPECT_EQ(SendMessageA(Control(form1::cboServers), CB_GETCURSEL, 0, 0), 2);  // the new entry
  EXPECT_EQ(Stored("PROD", kAccessValue), "1");
  EXPECT_EQ(Stored("PROD", kPathValue), "d:\\essbase");
  AddThroughDialog(DirectServer{"dev", "d:\\dev"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD", "PROD", "dev"}));
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(Stored("DEV", kPathValue), "d:\\dev");
}

// No button is the default: Enter presses the button that has the focus and
// nothing else. A refused name is said in a box, and the dialog stays open.
TEST_F(AddServerDialogTest, CancelTheCloseBoxEnterAndRefusedNamesWriteNothing) {
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
  }
  for (const char* name : {"", "PROD\\", "a/b", ".."}) {
    std::vector<SeenMessageBox> seen;
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, DirectServer{name, "d:\\essbase"});
      MessageBoxWatcher watcher;
      Press(dialog, cmdAdd);
      seen = watcher.Seen();
      EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open for another name";
    });
    ASSERT_EQ(seen.size(), 1u) << name;
    EXPECT_EQ(seen[0].text, std::string(kServerNameRefusal));
    EXPECT_TRUE(seen[0].error_icon);
    EXPECT_EQ(Writes(), Names{}) << name;
  }
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), Names{"DEV"});
}

}  // namespace
}  // namespace kelvary::test
